#!/usr/bin/env bash
# Writes the hand-made seed inputs (seed-*) of the fuzz corpus. The other
# files of corpus/<target>/ are inputs that fuzzing found interesting, kept
# by run.sh's merge. Run again after a change of the protocol tables.
set -euo pipefail
cd "$(dirname "$0")/corpus"

put() { # put DIR NAME FORMAT [ARGS...]: printf into DIR/seed-NAME
    local dir=$1 name=$2
    shift 2
    # shellcheck disable=SC2059
    printf "$@" > "$dir/seed-$name"
}

# ---- replies, as the module sends them ------------------------------------
r=reply
put $r mode-server      'MODE TCP server\r\n'
put $r mode-client      'MODE TCP client\r\n'
put $r version          'version 2.0.1\r\n'
put $r mac              'MAC 02:00:00:00:00:01\r\n'
put $r ip               'ip 192.168.0.1\r\n'
put $r mask             'MASK 255.255.255.0\r\n'
put $r gateway          'GATEWAY 0.0.0.0\r\n'
put $r port             'PORT TCP 502\r\n'
put $r parity-none      'parity none\r\n'
put $r parity-even      'parity even\r\n'
put $r speed            'SPEED RS485 115200\r\n'
put $r stopbits         'STOP BIT 2\r\n'
put $r timeout-response 'timeout response 60000\r\n'
put $r ip-server        'IP SERVER TCP 255.255.255.255\r\n'
put $r timeout-tcp      'TIMEOUT TCP 240\r\n'
put $r rtu-id           'rtu virtual id 247\r\n'
put $r slave-id-off     'tcp slave id off\r\n'
put $r ack-ok           'ok\r\n'
put $r ack-refused      '?\r\n'
put $r empty            ''
put $r crlf-only        '\r\n\r\n'
put $r other-separator  'MODE TCP=server\r\n'
put $r nul-inside       'ip 192.\000168.0.1\r\n'
put $r invalid-utf8     'MAC \377\376\200\300\r\n'
put $r utf8-cyrillic    'MODE TCP \320\241\320\265\321\200\320\262\320\265\321\200\r\n'
put $r four-byte-utf8   'ip \360\237\230\200\360\237\230\200\r\n'
put $r bom              '\357\273\277MODE TCP server\r\n'
put $r split-cr         'SPEED RS485 96\r00\n'
put $r long-value       'MASK 255.255.255.255.255.255.255.255\r\n'
put $r two-replies      'ip 10.0.0.1\r\nok\r\n'

# ---- command lines for the simulated module (LF separates lines) ----------
s=simcommand
i=0
while IFS= read -r q; do
    put $s "query-$((i++))" '%s' "$q"
done <<'QUERIES'
MODE TCP
version
MAC
ip
MASK
GATEWAY
PORT TCP
parity
SPEED RS485
STOP BIT
timeout response
IP SERVER TCP
TIMEOUT TCP
rtu virtual id
tcp slave id
QUERIES
put $s universal-write 'CHANGE MODE TCP:CLIENT\nCHANGE IP:10.1.2.3\nCHANGE MASK:255.0.0.0\nCHANGE GATEWAY:10.0.0.254\nCHANGE PORT TCP:10001\nCHANGE PARITY:even\nCHANGE SPEED RS485:19200\nCHANGE STOP BIT:2\nchange timeout response:500\nCHANGE IP SERVER TCP:10.1.2.4\nCHANGE TIMEOUT TCP:30\nchange rtu virtual id:17\nchange tcp slave id:off\nreset\nMODE TCP\nip\nparity'
put $s variant-write   'CHANGE IP:172.16.0.9\nCHANGE PARITY:1\nCHANGE SPEED RS485:256000\nRESET\nparity'
put $s factory-reset   'CHANGE IP:1.2.3.4\nLOAD SETTING:DEFAULT\nip'
put $s bad-values      'CHANGE IP:256.1.1.1\nCHANGE IP:01.1.1.1\nCHANGE IP:1.1.1\nCHANGE IP:1.1.1.1.\nCHANGE PORT TCP:9999\nCHANGE PORT TCP:0502\nchange timeout response:99\nchange timeout response:1000000000\nCHANGE TIMEOUT TCP:-5\nchange rtu virtual id:248\nchange tcp slave id:OFF\nCHANGE MODE TCP:server\nCHANGE PARITY:3\nCHANGE SPEED RS485:9600 '
put $s limits          'CHANGE PORT TCP:502\nCHANGE PORT TCP:65535\nCHANGE PORT TCP:65536\nchange timeout response:100\nchange timeout response:60000\nCHANGE TIMEOUT TCP:5\nCHANGE TIMEOUT TCP:240\nchange rtu virtual id:1\nchange tcp slave id:255\nchange tcp slave id:0\nCHANGE GATEWAY:0.0.0.0\nCHANGE MASK:255.255.255.255'
put $s crlf-lines      'ip\r\nCHANGE IP:1.2.3.4\r\nreset\r\n'
put $s empty           ''
put $s unknown         'hello\nCHANGE\nCHANGE IP\nchange ip:1.2.3.4\nIP\nversion \nMAC\000'
put $s read-only       'CHANGE VERSION:3.0\nCHANGE MAC:00:00:00:00:00:00\nversion\nMAC'
put $s nul-and-utf8    'CHANGE IP:1.2.3.4\000\nCHANGE MODE TCP:\320\241\nip'

# ---- settings files ---------------------------------------------------------
t=settings
put $t complete '[General]\nIP_ADRESS=192.168.0.1\nMASK=255.255.255.0\nGATEWAY=0.0.0.0\nPORT_TCP=502\nSPEED_RS485=4\nSTOP_BIT=1\nPARITY=1\nMODE_TCP=1\nTIMEOUT_RESPONSE=1000\n\n[Client_TCP]\nIP_SERVER_TCP=192.168.0.10\nTIMEOUT_TCP=180\nRTU_VIRTUAL_ID=1\nTCP_SLAVE_ID=off\n'
put $t crlf     '[General]\r\nIP_ADRESS=10.0.0.1\r\nSPEED_RS485=10\r\n[Client_TCP]\r\nTCP_SLAVE_ID=255\r\n'
put $t empty    ''
put $t no-group 'IP_ADRESS=10.0.0.2\nPARITY=3\n'
put $t only-client '[Client_TCP]\nIP_SERVER_TCP=1.1.1.1\nTIMEOUT_TCP=5\n'
put $t quoted   '[General]\nIP_ADRESS="192.168.0.1"\nMASK="a, b"\nGATEWAY=a, b, c\nPORT_TCP=\\"x\\"\n'
put $t variants '[General]\nIP_ADRESS=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nMASK=@ByteArray(abc)\nGATEWAY=@@literal\nPORT_TCP=@Invalid()\nSPEED_RS485=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0\\x31)\n'
put $t escapes  '[General]\nIP_ADRESS=\\x41f\\x410\\x442\nMASK=tab\\there\\nnewline\nGATEWAY=\\0\\a\\v\\f\\\\\n'
put $t numbers  '[General]\nSPEED_RS485=99999999999\nSTOP_BIT=-1\nPARITY=0x10\nMODE_TCP= 2 \n'
put $t malformed '[General\nIP_ADRESS\n=novalue\n[Client_TCP]]\nTIMEOUT_TCP==\n[%%General]\nMASK=1\n'
put $t percent  '[%%General]\nIP_ADRESS=1\n[Client%%5FTCP]\nIP_SERVER_TCP=2\n[General]\nClient_TCP%%2FTIMEOUT_TCP=3\n'
put $t duplicate '[General]\nIP_ADRESS=1.1.1.1\nIP_ADRESS=2.2.2.2\n[General]\nIP_ADRESS=3.3.3.3\n'
put $t comments '; comment\n# not a comment\n[General]\nIP_ADRESS=1.2.3.4 ; trailing\n'
put $t utf8     '[General]\nIP_ADRESS=\320\260\320\264\321\200\320\265\321\201\n\357\273\277MASK=x\n'
put $t nul      '[General]\nIP_ADRESS=1.2\000.3.4\nMASK=\377\376\n'
