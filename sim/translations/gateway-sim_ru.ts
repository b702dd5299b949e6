<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>gateway-sim</name>
    <message>
        <source>--field %1: not UNIT@SPEED/PARITY/STOP (for example 1@9600/none/1)</source>
        <translation>--field %1: ожидается UNIT@SPEED/PARITY/STOP (например, 1@9600/none/1)</translation>
    </message>
    <message>
        <source>--field %1: UNIT must be 1-247</source>
        <translation>--field %1: UNIT должен быть числом 1-247</translation>
    </message>
    <message>
        <source>--field %1: SPEED, PARITY and STOP must be the module&apos;s words (9600, none, 1, ...)</source>
        <translation>--field %1: SPEED, PARITY и STOP должны быть значениями модуля (9600, none, 1, ...)</translation>
    </message>
    <message>
        <source>usage: gateway-sim [options]
  --link PATH          keep a symlink PATH -&gt; slave device
  --state FILE         key=value state file (persisted parameters)
  --log FILE           append the log to FILE too
  --quiet              no log on stderr
  --gap MS             silence that ends a command (default 20)
  --restart-delay MS   device absence on restart (default 1500)
  --silent             never answer
  --late MS            answer MS ms late
  --split MS           split each reply into two writes MS ms apart
  --ack WORD           acknowledge taken changes with WORD instead of &quot;ok&quot;
  --refuse KEY         always refuse one change (repeatable); KEY is a
                       parameter key (ip, port_tcp, ...) or a change prefix
  --garbage            answer with garbage bytes (invalid UTF-8, NULs)
  --burst BYTES        answer each command with BYTES random bytes
  --separator C        separator after the echoed query (default space)
  --mac ADDRESS        the MAC address to report (default 02:00:00:00:00:01)
  --vanish-after N     drop the device after the Nth command (once)
  --lang en|ru         the language of these texts (else GATEWAY_LANG, else the
                       system&apos;s; the log is in English)
network side (Modbus TCP on 127.0.0.0/8 only, bridged to the RS-485 line):
  --tcp                on, at the module&apos;s port_tcp on 127.0.0.1 (the
                       options below switch it on too)
  --tcp-listen HOST[:PORT]  server mode: listen there (PORT 0: any free one)
  --tcp-server HOST[:PORT]  client mode: connect there
  --field UNIT@SPEED/PARITY/STOP  a device on the line (repeatable)
  --rtu-master KIND:ADDRESS:COUNT@MS  client mode: what the line&apos;s master
                       asks, how often (default hr:0:2@1000)
  --tcp-refuse         the port bound but not listening: connections refused
  --tcp-stall          accept, never answer
  --tcp-drop-after N   close a connection after N replies
</source>
        <translation>Использование: gateway-sim [ОПЦИЯ]...
  --link PATH          держать символьную ссылку PATH на ведомую сторону
                       псевдотерминала
  --state FILE         файл состояния key=value (сохраняемые параметры)
  --log FILE           дописывать журнал ещё и в FILE
  --quiet              не выводить журнал в stderr
  --gap MS             пауза, завершающая команду (по умолчанию 20)
  --restart-delay MS   сколько устройство отсутствует при перезагрузке
                       (по умолчанию 1500)
  --silent             никогда не отвечать
  --late MS            отвечать с опозданием на MS мс
  --split MS           делить каждый ответ на две записи с промежутком MS мс
  --ack WORD           подтверждать принятые изменения словом WORD вместо «ok»
  --refuse KEY         всегда отклонять одно изменение (можно несколько); KEY —
                       ключ параметра (ip, port_tcp, ...) или начало изменения
  --garbage            отвечать мусорными байтами (недопустимый UTF-8, NUL)
  --burst BYTES        отвечать на каждую команду BYTES случайными байтами
  --separator C        разделитель после эха запроса (по умолчанию пробел)
  --mac ADDRESS        сообщаемый MAC-адрес (по умолчанию 02:00:00:00:00:01)
  --vanish-after N     убрать устройство после N-й команды (один раз)
  --lang en|ru         язык этих текстов (иначе GATEWAY_LANG, иначе язык
                       системы; журнал всегда на английском)
сетевая сторона (Modbus TCP только на 127.0.0.0/8, мост к линии RS-485):
  --tcp                включить её, на порту port_tcp модуля на 127.0.0.1
                       (опции ниже тоже её включают)
  --tcp-listen HOST[:PORT]  режим сервера: ожидать соединений там
                       (PORT 0: любой свободный порт)
  --tcp-server HOST[:PORT]  режим клиента: соединяться туда
  --field UNIT@SPEED/PARITY/STOP  устройство в линии (можно несколько)
  --rtu-master KIND:ADDRESS:COUNT@MS  режим клиента: что и как часто
                       запрашивает мастер линии (по умолчанию hr:0:2@1000)
  --tcp-refuse         порт занят, но соединений не ожидает: они отклоняются
  --tcp-stall          принимать соединения, но никогда не отвечать
  --tcp-drop-after N   закрывать соединение после N ответов
</translation>
    </message>
    <message>
        <source>%1 needs a path</source>
        <translation>%1: нужен путь</translation>
    </message>
    <message>
        <source>%1 needs a file</source>
        <translation>%1: нужен файл</translation>
    </message>
    <message>
        <source>%1 needs a word</source>
        <translation>%1: нужно слово</translation>
    </message>
    <message>
        <source>%1 needs an address</source>
        <translation>%1: нужен адрес</translation>
    </message>
    <message>
        <source>bad %1</source>
        <translation>%1: недопустимое значение</translation>
    </message>
    <message>
        <source>bad --refuse key</source>
        <translation>--refuse: недопустимый ключ</translation>
    </message>
    <message>
        <source>%1 needs HOST[:PORT]</source>
        <translation>%1: нужно значение HOST[:PORT]</translation>
    </message>
    <message>
        <source>--field needs UNIT@SPEED/PARITY/STOP</source>
        <translation>--field: нужно значение UNIT@SPEED/PARITY/STOP</translation>
    </message>
    <message>
        <source>--rtu-master needs KIND:ADDRESS:COUNT@MS</source>
        <translation>--rtu-master: нужно значение KIND:ADDRESS:COUNT@MS</translation>
    </message>
    <message>
        <source>--separator needs a character</source>
        <translation>--separator: нужен символ</translation>
    </message>
    <message>
        <source>--separator takes one character</source>
        <translation>--separator: нужен ровно один символ</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>неизвестная опция %1</translation>
    </message>
    <message>
        <source>%1: HOST must be an address in 127.0.0.0/8 (the simulated network is this machine&apos;s loopback)</source>
        <translation>%1: HOST должен быть адресом из 127.0.0.0/8 (моделируемая сеть — петлевой интерфейс этого компьютера)</translation>
    </message>
    <message>
        <source>%1: PORT must be 0-65535</source>
        <translation>%1: PORT должен быть числом 0-65535</translation>
    </message>
    <message>
        <source>--rtu-master %1: not KIND:ADDRESS:COUNT@MS (for example hr:0:2@1000)</source>
        <translation>--rtu-master %1: ожидается KIND:ADDRESS:COUNT@MS (например, hr:0:2@1000)</translation>
    </message>
</context>
<context>
    <name>language</name>
    <message>
        <source>%1 &quot;%2&quot;: must be en or ru</source>
        <translation>%1 «%2»: должно быть en или ru</translation>
    </message>
</context>
</TS>
