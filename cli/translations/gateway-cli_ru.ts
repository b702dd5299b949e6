<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>Commissioning</name>
    <message>
        <source>open</source>
        <translation>открытие порта</translation>
    </message>
    <message>
        <source>scan %1</source>
        <translation>сканирование %1</translation>
    </message>
    <message>
        <source>write %1</source>
        <translation>запись %1</translation>
    </message>
    <message>
        <source>wait for the module</source>
        <translation>ожидание модуля</translation>
    </message>
    <message>
        <source>read back %1</source>
        <translation>контрольное чтение %1</translation>
    </message>
    <message>
        <source>cannot open the port: %1</source>
        <translation>не удалось открыть порт: %1</translation>
    </message>
    <message>
        <source>the port went away (%1)</source>
        <translation>порт пропал (%1)</translation>
    </message>
    <message>
        <source>the port went away (%1): %2</source>
        <translation>порт пропал (%1): %2</translation>
    </message>
    <message>
        <source>no reply (%1)</source>
        <translation>нет ответа (%1)</translation>
    </message>
    <message>
        <source>the module did not come back within %1 s</source>
        <translation>модуль не вернулся за %1 с</translation>
    </message>
    <message>
        <source>%1: wrote &quot;%2&quot;, reads &quot;%3&quot;</source>
        <translation>%1: записано «%2», прочитано «%3»</translation>
    </message>
    <message>
        <source>stopped before the start</source>
        <translation>остановлено до начала</translation>
    </message>
    <message>
        <source>stopped at &quot;%1&quot;</source>
        <translation>остановлено на шаге «%1»</translation>
    </message>
    <message>
        <source>%1: the reply &quot;%2&quot; is not the module&apos;s: no echo of &quot;%3&quot;</source>
        <translation>%1: ответ «%2» не от модуля: в нём нет эха «%3»</translation>
    </message>
    <message>
        <source>%1: the reply &quot;%2&quot; is neither &quot;%3&quot; nor &quot;%4&quot;</source>
        <translation>%1: ответ «%2» — не «%3» и не «%4»</translation>
    </message>
</context>
<context>
    <name>NetRules</name>
    <message>
        <source>the ones of a mask must be contiguous from the left (255.255.255.0 is /24), %1 has holes</source>
        <translation>единицы маски должны идти подряд слева (255.255.255.0 — это /24), в %1 есть пропуски</translation>
    </message>
    <message>
        <source>the mask /0 makes every address local: no subnet</source>
        <translation>маска /0 делает любой адрес локальным: подсети нет</translation>
    </message>
    <message>
        <source>the mask /%1 leaves no address for another host on the subnet (/1 to /30; /31 and /32 only with --force)</source>
        <translation>при маске /%1 в подсети не остаётся адреса для другого узла (допустимы маски от /1 до /30; /31 и /32 — только с --force)</translation>
    </message>
    <message>
        <source>255.255.255.255 is the broadcast address of every network, no host&apos;s address</source>
        <translation>255.255.255.255 — широковещательный адрес любой сети, а не адрес узла</translation>
    </message>
    <message>
        <source>%1 is in 0.0.0.0/8, &quot;this network&quot;: no host&apos;s address</source>
        <translation>%1 входит в 0.0.0.0/8 («эта сеть»): это не адрес узла</translation>
    </message>
    <message>
        <source>%1 is in 127.0.0.0/8, a PC&apos;s own loopback: no other host reaches it</source>
        <translation>%1 входит в 127.0.0.0/8 — петлевые адреса самого ПК: другие узлы до него не дойдут</translation>
    </message>
    <message>
        <source>%1 is a multicast address (224.0.0.0 to 239.255.255.255): no host&apos;s address</source>
        <translation>%1 — групповой адрес (от 224.0.0.0 до 239.255.255.255): это не адрес узла</translation>
    </message>
    <message>
        <source>the network address of %1 (its host part is all zeros)</source>
        <translation>адрес сети %1 (все биты номера узла — нули)</translation>
    </message>
    <message>
        <source>the broadcast address of %1 (its host part is all ones)</source>
        <translation>широковещательный адрес %1 (все биты номера узла — единицы)</translation>
    </message>
    <message>
        <source>ip=%1: %2</source>
        <translation>ip=%1: %2</translation>
    </message>
    <message>
        <source>gateway=%1: outside the module&apos;s subnet %2 (ip %3, mask %4): the module cannot reach it</source>
        <translation>gateway=%1: вне подсети модуля %2 (ip %3, mask %4): модуль до него не дойдёт</translation>
    </message>
    <message>
        <source>gateway=%1: the module&apos;s own address</source>
        <translation>gateway=%1: собственный адрес модуля</translation>
    </message>
    <message>
        <source>gateway=%1: %2</source>
        <translation>gateway=%1: %2</translation>
    </message>
</context>
<context>
    <name>OutputFile</name>
    <message>
        <source>%1: a folder; name the file in it</source>
        <translation>%1: это папка; укажите файл в ней</translation>
    </message>
    <message>
        <source>%1: not a file (a device?); name a file</source>
        <translation>%1: не файл (устройство?); укажите файл</translation>
    </message>
    <message>
        <source>%1: no such folder</source>
        <translation>%1: нет такой папки</translation>
    </message>
    <message>
        <source>%1: the file exists (--overwrite replaces it)</source>
        <translation>%1: файл уже существует (заменить его: --overwrite)</translation>
    </message>
    <message>
        <source>%1: no file can be made in %2: %3</source>
        <translation>%1: не удаётся создать файл в %2: %3</translation>
    </message>
</context>
<context>
    <name>ParameterFile</name>
    <message>
        <source>no such file</source>
        <translation>нет такого файла</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>не удаётся прочитать</translation>
    </message>
    <message>
        <source>not a settings file (INI text)</source>
        <translation>не является файлом настройки (текстом INI)</translation>
    </message>
    <message>
        <source>holds none of the module&apos;s keys</source>
        <translation>не содержит ни одного ключа модуля</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>не удаётся записать</translation>
    </message>
    <message>
        <source>exists and is not a settings file (INI text)</source>
        <translation>уже существует и не является файлом настройки (текстом INI)</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Неизвестная опция «%1».</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Неизвестные опции: %1.</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Нет значения после «%1».</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Лишнее значение после «%1».</translation>
    </message>
</context>
<context>
    <name>checkargs</name>
    <message>
        <source>&quot;%1&quot;: not KIND:ADDRESS[:COUNT] (for example hr:0:2)</source>
        <translation>«%1»: ожидается KIND:ADDRESS[:COUNT] (например, hr:0:2)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: KIND &quot;%2&quot; is not one of hr, ir, coil, di</source>
        <translation>«%1»: KIND «%2» — не hr, не ir, не coil и не di</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: ADDRESS &quot;%2&quot; is not a number 0-%3</source>
        <translation>«%1»: ADDRESS «%2» — не число 0-%3</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: COUNT &quot;%2&quot; is not a number 1-%3 (bits)</source>
        <translation>«%1»: COUNT «%2» — не число 1-%3 (количество битов)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: COUNT &quot;%2&quot; is not a number 1-%3 (registers)</source>
        <translation>«%1»: COUNT «%2» — не число 1-%3 (количество регистров)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: the read goes beyond address %2</source>
        <translation>«%1»: чтение выходит за адрес %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: not UNIT:KIND:ADDRESS[:COUNT] (for example 1:hr:0:2)</source>
        <translation>«%1»: ожидается UNIT:KIND:ADDRESS[:COUNT] (например, 1:hr:0:2)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2</source>
        <translation>«%1»: %2</translation>
    </message>
    <message>
        <source>no read given: UNIT:KIND:ADDRESS[:COUNT], several separated by blanks</source>
        <translation>не задано ни одного чтения: UNIT:KIND:ADDRESS[:COUNT], несколько — через пробел</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: HOST &quot;%2&quot; is neither an address nor a host name</source>
        <translation>«%1»: HOST «%2» — не адрес и не имя узла</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: HOST &quot;%2&quot; is not an IPv4 address</source>
        <translation>«%1»: HOST «%2» — не адрес IPv4</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: PORT &quot;%2&quot; is not a number 1-65535</source>
        <translation>«%1»: PORT «%2» — не число 1-65535</translation>
    </message>
    <message>
        <source>unit &quot;%1&quot; is not a number %2-%3</source>
        <translation>адрес устройства «%1» — не число %2-%3</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: an IPv6 address; the module has an IPv4 address only (HOST as 192.168.1.10)</source>
        <translation>«%1»: адрес IPv6, а у модуля только адрес IPv4 (HOST — например, 192.168.1.10)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: not UNIT or FIRST-LAST (for example 1-32)</source>
        <translation>«%1»: не UNIT и не FIRST-LAST (например, 1-32)</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: the range ends before it starts</source>
        <translation>«%1»: диапазон кончается раньше, чем начинается</translation>
    </message>
</context>
<context>
    <name>checkreport</name>
    <message>
        <source>%1: no connection (%2)
</source>
        <translation>%1: нет соединения (%2)
</translation>
    </message>
    <message>
        <source>%1: connected in %2 ms
</source>
        <translation>%1: соединение установлено за %2 мс
</translation>
    </message>
    <message>
        <source>unit %1 %2</source>
        <translation>устройство %1 %2</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 мс</translation>
    </message>
    <message numerus="yes">
        <source>median %1 ms, min %2, max %3, %n round trip(s)</source>
        <translation>
            <numerusform>медиана %1 мс, мин. %2, макс. %3, циклов «запрос — ответ»: %n</numerusform>
            <numerusform>медиана %1 мс, мин. %2, макс. %3, циклов «запрос — ответ»: %n</numerusform>
            <numerusform>медиана %1 мс, мин. %2, макс. %3, циклов «запрос — ответ»: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>exception %1 %2 (%3)</source>
        <translation>исключение %1 %2 (%3)</translation>
    </message>
    <message>
        <source>a malformed reply, not taken: %1</source>
        <translation>ответ не по форме, не принят: %1</translation>
    </message>
    <message>
        <source>no reply within %1 ms</source>
        <translation>нет ответа за %1 мс</translation>
    </message>
    <message>
        <source>not answered: the connection was closed</source>
        <translation>нет ответа: соединение закрыто</translation>
    </message>
    <message>
        <source>not sent</source>
        <translation>не отправлено</translation>
    </message>
    <message>
        <source>interrupted before its reply</source>
        <translation>прервано до ответа</translation>
    </message>
    <message>
        <source>%1: interrupted before the connection
</source>
        <translation>%1: прервано до установки соединения
</translation>
    </message>
    <message>
        <source>%1: %2
</source>
        <translation>%1: %2
</translation>
    </message>
    <message>
        <source>  before that: %1 (%2)
</source>
        <translation>  до этого: %1 (%2)
</translation>
    </message>
    <message>
        <source>interrupted in round %1 of %2
</source>
        <translation>прервано на цикле %1 из %2
</translation>
    </message>
    <message>
        <source>%1 (%2 ms)</source>
        <translation>%1 (%2 мс)</translation>
    </message>
    <message>
        <source>exception %1 (%2 ms)</source>
        <translation>исключение %1 (%2 мс)</translation>
    </message>
    <message>
        <source>round %1 of %2: %3: %4</source>
        <translation>цикл %1 из %2: %3: %4</translation>
    </message>
</context>
<context>
    <name>checkwords</name>
    <message>
        <source>Illegal function</source>
        <translation>Недопустимая функция</translation>
    </message>
    <message>
        <source>Illegal data address</source>
        <translation>Недопустимый адрес данных</translation>
    </message>
    <message>
        <source>Illegal data value</source>
        <translation>Недопустимое значение данных</translation>
    </message>
    <message>
        <source>Server device failure</source>
        <translation>Сбой устройства</translation>
    </message>
    <message>
        <source>Acknowledge</source>
        <translation>Запрос принят, выполняется</translation>
    </message>
    <message>
        <source>Server device busy</source>
        <translation>Устройство занято</translation>
    </message>
    <message>
        <source>Memory parity error</source>
        <translation>Ошибка чётности памяти</translation>
    </message>
    <message>
        <source>Gateway path unavailable</source>
        <translation>Нет пути через шлюз</translation>
    </message>
    <message>
        <source>Gateway target device failed to respond</source>
        <translation>Устройство за шлюзом не ответило</translation>
    </message>
    <message>
        <source>Unknown exception</source>
        <translation>Неизвестное исключение</translation>
    </message>
    <message>
        <source>The module&apos;s settings: mode %1, ip %2, mask %3, gateway %4, port_tcp %5.</source>
        <translation>Настройки модуля: mode %1, ip %2, mask %3, gateway %4, port_tcp %5.</translation>
    </message>
    <message>
        <source>Read coils</source>
        <translation>Чтение дискретных выходов (coils)</translation>
    </message>
    <message>
        <source>Read discrete inputs</source>
        <translation>Чтение дискретных входов</translation>
    </message>
    <message>
        <source>Read holding registers</source>
        <translation>Чтение регистров хранения</translation>
    </message>
    <message>
        <source>Read input registers</source>
        <translation>Чтение входных регистров</translation>
    </message>
    <message>
        <source>Write single coil</source>
        <translation>Запись одного дискретного выхода</translation>
    </message>
    <message>
        <source>Write single register</source>
        <translation>Запись одного регистра</translation>
    </message>
    <message>
        <source>Write multiple coils</source>
        <translation>Запись нескольких дискретных выходов</translation>
    </message>
    <message>
        <source>Write multiple registers</source>
        <translation>Запись нескольких регистров</translation>
    </message>
    <message>
        <source>The device at unit %1 answered, so the path through the gateway works. The read %2 is wrong for this device: it has no such table (%3). See the device&apos;s manual for the tables it has.</source>
        <translation>Устройство с адресом %1 ответило, значит, путь через шлюз работает. Чтение %2 не подходит этому устройству: у него нет такой таблицы (%3). Какие таблицы у него есть, сказано в его руководстве.</translation>
    </message>
    <message>
        <source>The device at unit %1 answered, so the path through the gateway works. The read %2 is wrong for this device: it has nothing at addresses %3-%4. ADDRESS is the protocol address, the manual&apos;s register number less its first one (40001 is hr:0, 30001 is ir:0).</source>
        <translation>Устройство с адресом %1 ответило, значит, путь через шлюз работает. Чтение %2 не подходит этому устройству: по адресам %3-%4 у него ничего нет. ADDRESS — адрес протокола: номер регистра из руководства минус номер первого (40001 — это hr:0, 30001 — ir:0).</translation>
    </message>
    <message>
        <source>The device at unit %1 answered, so the path through the gateway works. The read %2 is wrong for this device: it does not give %3 at once there. See the device&apos;s manual.</source>
        <translation>Устройство с адресом %1 ответило, значит, путь через шлюз работает. Чтение %2 не подходит этому устройству: столько значений (%3) за раз оно там не отдаёт. Смотрите руководство устройства.</translation>
    </message>
    <message>
        <source>The device at unit %1 answered, so the path through the gateway works. The device failed while it handled the read %2: look at the device itself.</source>
        <translation>Устройство с адресом %1 ответило, значит, путь через шлюз работает. Устройство дало сбой при чтении %2: проверьте само устройство.</translation>
    </message>
    <message>
        <source>The device at unit %1 answered, so the path through the gateway works. It is busy and did not do the read %2 now: try again later.</source>
        <translation>Устройство с адресом %1 ответило, значит, путь через шлюз работает. Оно занято и не выполнило чтение %2 сейчас: повторите позже.</translation>
    </message>
    <message>
        <source>The gateway has no path to unit %1: it does not forward requests for that unit to its line. Check the unit address (--unit, the device&apos;s address on the RS-485 line, 1-247).</source>
        <translation>У шлюза нет пути к устройству %1: запросы к этому адресу он в свою линию не передаёт. Проверьте адрес устройства (--unit, адрес устройства в линии RS-485, 1-247).</translation>
    </message>
    <message>
        <source>No device answered unit %1 on the module&apos;s RS-485 line within the module&apos;s response time-out (timeout_response %2 ms). Check that the device&apos;s speed, parity and stop bits equal the module&apos;s: speed %3, parity %4, stop_bits %5. Then check the device&apos;s address (unit %1), the line&apos;s wiring (A and B not swapped) and its termination, and timeout_response, which a slow device may need longer.</source>
        <translation>Ни одно устройство с адресом %1 в линии RS-485 модуля не ответило за таймаут ответа модуля (timeout_response %2 мс). Проверьте, что скорость, паритет и количество стоп-битов у устройства те же, что у модуля: speed %3, parity %4, stop_bits %5. Затем проверьте адрес устройства (%1), проводку линии (не перепутаны ли A и B) и её терминатор, а также timeout_response: медленному устройству может понадобиться больше.</translation>
    </message>
    <message>
        <source>No device answered unit %1 on the module&apos;s RS-485 line within the module&apos;s response time-out. Check that the device&apos;s speed, parity and stop bits equal the module&apos;s (speed, parity and stop_bits: scan the module, or give its settings file with --file, to see them). Then check the device&apos;s address (unit %1), the line&apos;s wiring (A and B not swapped) and its termination, and timeout_response, which a slow device may need longer.</source>
        <translation>Ни одно устройство с адресом %1 в линии RS-485 модуля не ответило за таймаут ответа модуля. Проверьте, что скорость, паритет и количество стоп-битов у устройства те же, что у модуля (speed, parity и stop_bits: чтобы их увидеть, выполните сканирование модуля или укажите его файл настройки в --file). Затем проверьте адрес устройства (%1), проводку линии (не перепутаны ли A и B) и её терминатор, а также timeout_response: медленному устройству может понадобиться больше.</translation>
    </message>
    <message>
        <source>No reply within %1 ms, not even an exception. A gateway whose line stays silent answers 0x0B after its timeout_response (%2 ms): check that HOST:PORT is the gateway itself, and that --timeout is longer than its timeout_response.</source>
        <translation>Нет ответа за %1 мс, даже исключения. Шлюз, линия которого молчит, отвечает 0x0B по истечении своего timeout_response (%2 мс): проверьте, что HOST:PORT — это сам шлюз и что --timeout больше его timeout_response.</translation>
    </message>
    <message>
        <source>No reply within %1 ms, not even an exception. A gateway whose line stays silent answers 0x0B after its timeout_response: check that HOST:PORT is the gateway itself, and that --timeout is longer than its timeout_response.</source>
        <translation>Нет ответа за %1 мс, даже исключения. Шлюз, линия которого молчит, отвечает 0x0B по истечении своего timeout_response: проверьте, что HOST:PORT — это сам шлюз и что --timeout больше его timeout_response.</translation>
    </message>
    <message>
        <source>The gateway closed the connection before it answered: the reads not answered by then were not sent again, nor was the connection opened again. A gateway closes a connection when it has too many or when its TCP time-out (timeout_tcp) runs out: check that no other master holds its connections, and try again.</source>
        <translation>Шлюз закрыл соединение, не ответив: чтения без ответа не отправлялись повторно, и соединение не открывалось снова. Шлюз закрывает соединение, когда их слишком много или когда истёк его таймаут TCP (timeout_tcp): проверьте, что его соединения не заняты другим мастером, и повторите.</translation>
    </message>
    <message>
        <source>%1 refused the connection at port %2: the address answers, but nothing listens at that port. Check that the module is in TCP server mode (mode server: in client mode it listens nowhere and connects to its ip_server_tcp itself; gateway-cli serve stands in for that server), that its port_tcp is %2, and that it was restarted after its settings were written.</source>
        <translation>%1 отклонил соединение на порту %2: адрес отвечает, но на этом порту никто не ожидает соединений. Проверьте, что модуль в режиме сервера TCP (mode server: в режиме клиента он сам соединяется со своим ip_server_tcp и входящих соединений не принимает; этот сервер может заменить gateway-cli serve), что его port_tcp равен %2 и что после записи параметров модуль был перезагружен.</translation>
    </message>
    <message>
        <source>%1: no such host. Give the module&apos;s ip address.</source>
        <translation>%1: такого узла нет. Укажите ip-адрес модуля.</translation>
    </message>
    <message>
        <source>No connection to %1 at port %2 within %3 ms: nothing answered at that address. Check the module&apos;s ip, mask and gateway against the network, and this PC&apos;s own address on that network: the PC must be in the module&apos;s subnet (the same network under the module&apos;s mask) or reach it through the module&apos;s gateway. Then check that the module is in server mode and that its port_tcp is %2.</source>
        <translation>Нет соединения с %1 на порту %2 за %3 мс: по этому адресу никто не ответил. Сверьте ip, mask и gateway модуля с сетью, а также собственный адрес этого ПК в ней: ПК должен быть в подсети модуля (в той же сети при маске модуля) или связываться с ним через основной шлюз модуля (gateway). Затем проверьте, что модуль в режиме сервера и что его port_tcp равен %2.</translation>
    </message>
    <message>
        <source>No connection to %1 at port %2. Check the module&apos;s ip, mask and gateway against the network, and this PC&apos;s own address on that network: the PC must be in the module&apos;s subnet or reach it through the module&apos;s gateway. Then check that the module is in server mode and that its port_tcp is %2.</source>
        <translation>Нет соединения с %1 на порту %2. Сверьте ip, mask и gateway модуля с сетью, а также собственный адрес этого ПК в ней: ПК должен быть в подсети модуля или связываться с ним через основной шлюз модуля (gateway). Затем проверьте, что модуль в режиме сервера и что его port_tcp равен %2.</translation>
    </message>
    <message>
        <source>The device at unit %1 answered, so the path through the gateway works. The read %2 is wrong for this device: it has nothing at address %3. ADDRESS is the protocol address, the manual&apos;s register number less its first one (40001 is hr:0, 30001 is ir:0).</source>
        <translation>Устройство с адресом %1 ответило, значит, путь через шлюз работает. Чтение %2 не подходит этому устройству: по адресу %3 у него ничего нет. ADDRESS — адрес протокола: номер регистра из руководства минус номер первого (40001 — это hr:0, 30001 — ir:0).</translation>
    </message>
    <message>
        <source>The gateway or the device at unit %1 answered the read %2 with an exception the program does not know: see the manuals of the gateway and of the device.</source>
        <translation>Шлюз или устройство с адресом %1 ответили на чтение %2 исключением, которое программе неизвестно: смотрите руководства шлюза и устройства.</translation>
    </message>
    <message>
        <source>The reply does not answer the request, so nothing of it was taken as read. HOST:PORT may be something other than a Modbus TCP gateway, or the gateway or the device behind it is faulty: --verbose shows each frame sent and taken.</source>
        <translation>Ответ не соответствует запросу, поэтому ничего из него не принято как прочитанное. Возможно, по адресу HOST:PORT не шлюз Modbus TCP, или неисправен шлюз либо устройство за ним: с --verbose видны все отправленные и принятые кадры.</translation>
    </message>
    <message>
        <source>A reply came whose MBAP header no Modbus frame has, so nothing after it could be read: the check closed the connection itself. HOST:PORT may be something other than a Modbus TCP gateway: --verbose shows each frame sent and taken.</source>
        <translation>Пришёл ответ с заголовком MBAP, какого не бывает у кадра Modbus, поэтому дальше ничего прочитать нельзя: проверка сама закрыла соединение. Возможно, по адресу HOST:PORT не шлюз Modbus TCP: с --verbose видны все отправленные и принятые кадры.</translation>
    </message>
</context>
<context>
    <name>cli</name>
    <message>
        <source>the settings file each row starts from</source>
        <translation>файл настройки, на основе которого строится каждая строка</translation>
    </message>
    <message>
        <source>the first row&apos;s rtu_virtual_id; each next row the next number</source>
        <translation>rtu_virtual_id первой строки; у каждой следующей — следующий номер</translation>
    </message>
    <message>
        <source>--%1 is needed</source>
        <translation>нужна опция --%1</translation>
    </message>
    <message>
        <source>no module found on any port</source>
        <translation>ни на одном порту модуль не найден</translation>
    </message>
    <message>
        <source>the report is in %1</source>
        <translation>протокол — в %1</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n modules ok</source>
        <translation>
            <numerusform>ok: %1 из %n модуля</numerusform>
            <numerusform>ok: %1 из %n модулей</numerusform>
            <numerusform>ok: %1 из %n модулей</numerusform>
        </translation>
    </message>
    <message>
        <source>a batch plan that numbers the modules&apos; addresses</source>
        <translation>составить план пакетной записи с нумерацией адресов модулей</translation>
    </message>
    <message>
        <source>commission every module of a plan at once</source>
        <translation>выполнить наладку всех модулей плана сразу</translation>
    </message>
    <message>
        <source>the unit (the device&apos;s address on the RS-485 line), 1-247 (default 1)</source>
        <translation>адрес устройства в линии RS-485, 1-247 (по умолчанию 1)</translation>
    </message>
    <message>
        <source>send the reads N times: each read&apos;s round trip as its median, minimum and maximum</source>
        <translation>отправить чтения N раз: время отклика каждого — медиана, минимум и максимум</translation>
    </message>
    <message>
        <source>read through the gateway over Modbus TCP: does it reach the devices on its RS-485 line?</source>
        <translation>прочитать через шлюз по Modbus TCP: доходит ли он до устройств своей линии RS-485?</translation>
    </message>
    <message>
        <source>every read answered with data</source>
        <translation>на каждое чтение пришли данные</translation>
    </message>
    <message>
        <source>bad usage (a malformed --read, unit or host): nothing was sent</source>
        <translation>неверный вызов (неверные --read, адрес устройства или узел): ничего не отправлено</translation>
    </message>
    <message>
        <source>no connection</source>
        <translation>нет соединения</translation>
    </message>
    <message>
        <source>interrupted (Ctrl+C)</source>
        <translation>прервано (Ctrl+C)</translation>
    </message>
    <message>
        <source>which command? (gateway-cli --help)</source>
        <translation>не указана команда (gateway-cli --help)</translation>
    </message>
    <message>
        <source>no command &quot;%1&quot; (gateway-cli --help)</source>
        <translation>нет команды «%1» (gateway-cli --help)</translation>
    </message>
    <message>
        <source>done</source>
        <translation>выполнено</translation>
    </message>
    <message>
        <source>Options of every command:</source>
        <translation>Общие опции:</translation>
    </message>
    <message>
        <source>Exit status:</source>
        <translation>Код завершения:</translation>
    </message>
    <message>
        <source>Usage: gateway-cli COMMAND [ARGUMENT]... [OPTION]...</source>
        <translation>Использование: gateway-cli КОМАНДА [АРГУМЕНТ]... [ОПЦИЯ]...</translation>
    </message>
    <message>
        <source>Reads and writes the parameters of Modbus TCP-RTU gateway modules through
their serial configuration port, one module or many at once, and proves
over Modbus TCP that a module bridges to the devices on its line.</source>
        <translation>Читает и записывает параметры модулей-шлюзов Modbus TCP-RTU через их
последовательный порт настройки, по одному модулю или много сразу, и
проверяет по Modbus TCP, что модуль передаёт запросы устройствам своей
линии.</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Команды:</translation>
    </message>
    <message>
        <source>The language of the texts is the system&apos;s (Russian or English); --lang en
or --lang ru, anywhere on the command line, or the variable GATEWAY_LANG
chooses it. JSON, reports and the words scripts read are the same in both.</source>
        <translation>Язык текстов — язык системы (русский или английский); выбрать его можно
опцией --lang en или --lang ru в любом месте командной строки или
переменной GATEWAY_LANG. JSON, протоколы и слова для скриптов в обоих языках
одни и те же.</translation>
    </message>
    <message>
        <source>Usage: gateway-cli %1 %2</source>
        <translation>Использование: gateway-cli %1 %2</translation>
    </message>
    <message>
        <source>nothing was sent</source>
        <translation>ничего не отправлено</translation>
    </message>
    <message>
        <source>: interrupted</source>
        <translation>: прервано</translation>
    </message>
    <message>
        <source>scan first and write only the values that differ</source>
        <translation>сначала сканирование, затем запись только отличающихся значений</translation>
    </message>
    <message>
        <source>end after the changes: no reboot, no read-back</source>
        <translation>закончить после изменений: без перезагрузки и контрольного чтения</translation>
    </message>
    <message>
        <source>send the values unchecked: the module judges them</source>
        <translation>отправить значения без проверки: их проверит модуль</translation>
    </message>
    <message>
        <source>nothing to write: give a settings file or --set KEY=VALUE</source>
        <translation>нечего записывать: укажите файл настройки или --set KEY=VALUE</translation>
    </message>
    <message>
        <source>written before that: %1</source>
        <translation>до этого записаны: %1</translation>
    </message>
    <message>
        <source>%1 module %2, file %3
</source>
        <translation>%1 в модуле %2, в файле %3
</translation>
    </message>
    <message>
        <source>the module holds the file&apos;s values</source>
        <translation>значения в модуле совпадают с файлом</translation>
    </message>
    <message numerus="yes">
        <source>%n values differ</source>
        <translation>
            <numerusform>%n значение отличается</numerusform>
            <numerusform>%n значения отличаются</numerusform>
            <numerusform>%n значений отличаются</numerusform>
        </translation>
    </message>
    <message>
        <source>yes, return the module to its factory settings</source>
        <translation>да, сбросить модуль к заводским настройкам</translation>
    </message>
    <message>
        <source>%1 returns the module to its factory settings: say --yes</source>
        <translation>%1 сбрасывает модуль к заводским настройкам: добавьте --yes</translation>
    </message>
    <message>
        <source>the module&apos;s fifteen parameters</source>
        <translation>прочитать пятнадцать параметров модуля</translation>
    </message>
    <message>
        <source>Reads the module&apos;s fifteen parameters, in the order the configurator&apos;s scan
takes them, and prints them (key, value), or with --json as
{&quot;port&quot;: ..., &quot;result&quot;: &quot;ok&quot;, &quot;parameters&quot;: {&quot;mode&quot;: &quot;server&quot;, ...}}.</source>
        <translation>Читает пятнадцать параметров модуля в том порядке, в каком их берёт
сканирование конфигуратора, и выводит их (ключ, значение), а с --json как
{&quot;port&quot;: ..., &quot;result&quot;: &quot;ok&quot;, &quot;parameters&quot;: {&quot;mode&quot;: &quot;server&quot;, ...}}.</translation>
    </message>
    <message>
        <source>write parameters, reboot the module, read them back</source>
        <translation>записать, перезагрузить модуль и прочитать параметры</translation>
    </message>
    <message>
        <source>the parameters that differ from a settings file</source>
        <translation>показать параметры, отличающиеся от файла настройки</translation>
    </message>
    <message>
        <source>Scans the module and lists the keys whose values differ from the settings
file&apos;s. Exit status 0 when none differ, 1 when some do.</source>
        <translation>Выполняет сканирование модуля и перечисляет ключи, значения которых
отличаются от файла настройки. Код завершения 0, если отличий нет, 1,
если есть.</translation>
    </message>
    <message>
        <source>return the module to its factory settings (--yes)</source>
        <translation>сбросить модуль к заводским настройкам (--yes)</translation>
    </message>
    <message>
        <source>the time between two commands to a module (default 1000, the module&apos;s pace; less only for modules known to keep up)</source>
        <translation>пауза между двумя командами модулю, мс (по умолчанию 1000, как требует модуль; меньше — только для модулей, которые заведомо успевают)</translation>
    </message>
    <message>
        <source>one JSON document on stdout; messages stay on stderr</source>
        <translation>один документ JSON в stdout; сообщения остаются в stderr</translation>
    </message>
    <message>
        <source>this help</source>
        <translation>эта справка</translation>
    </message>
    <message>
        <source>the program&apos;s version</source>
        <translation>версия программы</translation>
    </message>
    <message>
        <source>text after a closing quote</source>
        <translation>текст после закрывающей кавычки</translation>
    </message>
    <message>
        <source>a quote that is never closed</source>
        <translation>незакрытая кавычка</translation>
    </message>
    <message>
        <source>line %1, column %2 (%3)</source>
        <translation>строка %1, столбец %2 (%3)</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>строка %1: %2</translation>
    </message>
    <message>
        <source>line 1: no header row</source>
        <translation>строка 1: нет строки заголовка</translation>
    </message>
    <message>
        <source>%1: a second column of that name</source>
        <translation>%1: второй столбец с этим именем</translation>
    </message>
    <message>
        <source>line %1: neither a port nor a mac column</source>
        <translation>строка %1: нет ни столбца port, ни столбца mac</translation>
    </message>
    <message>
        <source>line %1: no module after the header</source>
        <translation>строка %1: после заголовка нет ни одного модуля</translation>
    </message>
    <message>
        <source>line %1: %2 fields, the header has %3</source>
        <translation>строка %1: полей %2, а в заголовке %3</translation>
    </message>
    <message>
        <source>line %1: neither a port nor a mac</source>
        <translation>строка %1: нет ни port, ни mac</translation>
    </message>
    <message>
        <source>line %1: nothing to write</source>
        <translation>строка %1: нечего записывать</translation>
    </message>
    <message>
        <source>the system lists no serial ports</source>
        <translation>система не сообщает ни об одном последовательном порте</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n ports have a module</source>
        <translation>
            <numerusform>модуль найден на %1 из %n порта</numerusform>
            <numerusform>модуль найден на %1 из %n портов</numerusform>
            <numerusform>модуль найден на %1 из %n портов</numerusform>
        </translation>
    </message>
    <message>
        <source>the serial ports of this computer</source>
        <translation>показать последовательные порты этого компьютера</translation>
    </message>
    <message>
        <source>Lists the serial ports that the system reports, with their description,
manufacturer, serial number and USB vendor:product where known, and on
Linux the stable name under /dev/serial/by-id where there is one.
Pseudo-terminals and some device paths are not listed; any command takes
them all the same.</source>
        <translation>Перечисляет последовательные порты, о которых сообщает система, с их
описанием, производителем, серийным номером и USB vendor:product, если
они известны, а в Linux — с постоянным именем в /dev/serial/by-id, если
оно есть. Псевдотерминалы и некоторые пути к устройствам не
перечисляются; любая команда всё равно их принимает.</translation>
    </message>
    <message>
        <source>which ports have a module (all listed ports by default)</source>
        <translation>найти порты, на которых есть модуль (по умолчанию — среди всех перечисленных системой)</translation>
    </message>
    <message>
        <source>Asks every listed port, or the ports given, all at once, whether a module
is there (its MAC address and firmware version, at 9600 baud 8N1), and
prints those that answer. With --json, the ports that cannot be opened or
stay silent are listed too, with why. Exit status 0 when a module was
found, 3 when none was.</source>
        <translation>Опрашивает все перечисленные системой порты или заданные, все сразу, есть
ли там модуль (его MAC-адрес и версия прошивки, на 9600 бит/с 8N1), и
выводит ответившие. С --json перечисляются и порты, которые не удалось
открыть или которые молчат, с причиной. Код завершения 0, если модуль
найден, 3, если нет.</translation>
    </message>
    <message>
        <source>how long to serve (default 60)</source>
        <translation>сколько секунд работать (по умолчанию 60)</translation>
    </message>
    <message>
        <source>values to hold. Without it each holding and input register reads back its own address (hr:7 is 7), and each coil and discrete input is 1 at an odd address, 0 at an even one. A map file has lines KIND:ADDRESS = VALUE... (hr:100 = 1234, ir:0 = 10 20 30, coil:8 = 1 0 1); the values go to ADDRESS and the addresses after it; registers 0-65535 (or 0x0000-0xFFFF), bits 0 or 1; # begins a comment.</source>
        <translation>значения регистров и битов. Без файла каждый регистр хранения и входной регистр читается как свой адрес (hr:7 — это 7), а каждый дискретный выход и вход равен 1 по нечётному адресу и 0 по чётному. Строки файла: KIND:ADDRESS = VALUE... (hr:100 = 1234, ir:0 = 10 20 30, coil:8 = 1 0 1); значения ложатся на адрес ADDRESS и следующие за ним; регистры 0-65535 (или 0x0000-0xFFFF), биты 0 или 1; текст после # — комментарий.</translation>
    </message>
    <message>
        <source>cannot listen at %1 port %2: %3</source>
        <translation>не удалось открыть для соединений %1, порт %2: %3</translation>
    </message>
    <message>
        <source>every address of this PC, port %1</source>
        <translation>все адреса этого ПК, порт %1</translation>
    </message>
    <message>
        <source>listening at %1 for %2 s, answering every unit</source>
        <translation>ожидание соединений на %1 в течение %2 с, ответ на любой адрес устройства</translation>
    </message>
    <message>
        <source>%1 connection from %2
</source>
        <translation>%1 соединение от %2
</translation>
    </message>
    <message>
        <source>%1 %2 closed
</source>
        <translation>%1 %2: соединение закрыто
</translation>
    </message>
    <message numerus="yes">
        <source>%n requests served</source>
        <translation>
            <numerusform>обслужен %n запрос</numerusform>
            <numerusform>обслужено %n запроса</numerusform>
            <numerusform>обслужено %n запросов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n connections</source>
        <translation>
            <numerusform>%n соединение</numerusform>
            <numerusform>%n соединения</numerusform>
            <numerusform>%n соединений</numerusform>
        </translation>
    </message>
    <message>
        <source>the Modbus TCP server that a module in client mode connects to: shows what it forwards</source>
        <translation>заменить сервер Modbus TCP, с которым соединяется модуль в режиме клиента, и показать, что модуль передаёт</translation>
    </message>
    <message>
        <source>Stands in for the Modbus TCP server that a module in TCP client mode
connects to (its ip_server_tcp, at its port_tcp): listens at PORT, on the
address HOST of this PC (without HOST: every address of this PC; PORT 0:
one the system picks, named on the first line), answers every unit it is
asked for, and shows each connection (the peer&apos;s address) and each request
served (unit, function, address, count) as it comes. So the requests of the
RTU master on the module&apos;s line arrive here when the module forwards them.</source>
        <translation>Заменяет сервер Modbus TCP, с которым соединяется модуль в режиме клиента
TCP (его ip_server_tcp на его port_tcp): ожидает соединений на порту PORT
по адресу HOST этого ПК (без HOST — на всех адресах этого ПК; PORT 0 —
порт, выбранный системой, он называется в первой строке), отвечает на любой
адрес устройства и по мере поступления показывает каждое соединение (адрес
клиента) и каждый обслуженный запрос (устройство, функция, адрес,
количество). Так сюда приходят запросы мастера RTU из линии модуля, когда
модуль их передаёт.</translation>
    </message>
    <message>
        <source>With --json the connections and requests come as one JSON document at the
end ({&quot;listen&quot;, &quot;port&quot;, &quot;seconds&quot;, &quot;connections&quot;: [{&quot;peer&quot;, &quot;at_s&quot;}],
&quot;requests&quot;: [{&quot;peer&quot;, &quot;unit&quot;, &quot;function&quot;, &quot;address&quot;, &quot;count&quot;, &quot;exception&quot;,
&quot;at_s&quot;}], &quot;served&quot;}), the live lines on stderr.</source>
        <translation>С --json соединения и запросы выводятся одним документом JSON в конце
({&quot;listen&quot;, &quot;port&quot;, &quot;seconds&quot;, &quot;connections&quot;: [{&quot;peer&quot;, &quot;at_s&quot;}],
&quot;requests&quot;: [{&quot;peer&quot;, &quot;unit&quot;, &quot;function&quot;, &quot;address&quot;, &quot;count&quot;, &quot;exception&quot;,
&quot;at_s&quot;}], &quot;served&quot;}), а текущие строки — в stderr.</translation>
    </message>
    <message>
        <source>at least one request was served</source>
        <translation>обслужен хотя бы один запрос</translation>
    </message>
    <message>
        <source>bad usage: nothing was listened for</source>
        <translation>неверный вызов: соединения не ожидались</translation>
    </message>
    <message>
        <source>no request came (or the port could not be listened at)</source>
        <translation>не пришло ни одного запроса (или не удалось открыть порт для соединений)</translation>
    </message>
    <message>
        <source>%1: no such key (the keys: %2)</source>
        <translation>%1: нет такого ключа (ключи: %2)</translation>
    </message>
    <message>
        <source>%1 (gateway-cli %2 --help)</source>
        <translation>%1 (gateway-cli %2 --help)</translation>
    </message>
    <message>
        <source>too few arguments for %1 (gateway-cli %1 --help)</source>
        <translation>недостаточно аргументов для %1 (gateway-cli %1 --help)</translation>
    </message>
    <message>
        <source>too many arguments for %1 (gateway-cli %1 --help)</source>
        <translation>слишком много аргументов для %1 (gateway-cli %1 --help)</translation>
    </message>
    <message>
        <source>--%1 &quot;%2&quot;: must be a number %3-%4</source>
        <translation>--%1 «%2»: должно быть числом %3-%4</translation>
    </message>
    <message>
        <source>%1 line %2 %3: %4
</source>
        <translation>%1 строка %2 %3: %4
</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>ожидание</translation>
    </message>
    <message>
        <source>line %1  %2  %3  %4</source>
        <translation>строка %1  %2  %3  %4</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: not KEY=VALUE</source>
        <translation>«%1»: ожидается KEY=VALUE</translation>
    </message>
    <message>
        <source>%1: %2 is the port of line %3 as well</source>
        <translation>%1: %2 — это также порт строки %3</translation>
    </message>
    <message>
        <source>%1: %2 is the MAC address of line %3 as well</source>
        <translation>%1: %2 — это также MAC-адрес строки %3</translation>
    </message>
    <message>
        <source>%1: %2 is the IP address of line %3 as well</source>
        <translation>%1: %2 — это также IP-адрес строки %3</translation>
    </message>
    <message>
        <source>the module on the port is %1, not %2</source>
        <translation>на порту модуль %1, а не %2</translation>
    </message>
    <message>
        <source>no module with the MAC address %1 on %2</source>
        <translation>модуля с MAC-адресом %1 нет на %2</translation>
    </message>
    <message>
        <source>the language of the texts for a person, anywhere on the command line (default: the system&apos;s, or GATEWAY_LANG)</source>
        <translation>язык текстов для человека, в любом месте командной строки (по умолчанию — язык системы или GATEWAY_LANG)</translation>
    </message>
    <message>
        <source>%1 %2 unit %3 function 0x%4 %5</source>
        <translation>%1 %2 устройство %3 функция 0x%4 %5</translation>
    </message>
    <message>
        <source>: exception 0x%1 %2</source>
        <translation>: исключение 0x%1 %2</translation>
    </message>
    <message>
        <source>replace the file if it exists</source>
        <translation>заменить файл, если он уже существует</translation>
    </message>
    <message>
        <source>the first row&apos;s ip; each next row the next address of the template&apos;s subnet</source>
        <translation>ip первой строки; у каждой следующей — следующий адрес подсети шаблона</translation>
    </message>
    <message>
        <source>between the fields: , (the default), ; or tab</source>
        <translation>между полями: , (по умолчанию), ; или tab</translation>
    </message>
    <message numerus="yes">
        <source>%n address(es) of the subnet %1/%2 from %3 on, for %4 ports (its network and broadcast addresses and the gateway left out)</source>
        <translation>
            <numerusform>в подсети %1/%2 начиная с %3 помещается %n адрес, а портов: %4 (адрес сети, широковещательный адрес и основной шлюз пропускаются)</numerusform>
            <numerusform>в подсети %1/%2 начиная с %3 помещается %n адреса, а портов: %4 (адрес сети, широковещательный адрес и основной шлюз пропускаются)</numerusform>
            <numerusform>в подсети %1/%2 начиная с %3 помещается %n адресов, а портов: %4 (адрес сети, широковещательный адрес и основной шлюз пропускаются)</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: no mask, and the addresses are numbered within the template&apos;s subnet</source>
        <translation>%1: нет маски (mask), а адреса нумеруются в подсети шаблона</translation>
    </message>
    <message>
        <source>--separator &quot;%1&quot;: one of , ; tab</source>
        <translation>--separator «%1»: одно из , ; tab</translation>
    </message>
    <message>
        <source>--ip-from %1: %2</source>
        <translation>--ip-from %1: %2</translation>
    </message>
    <message>
        <source>--rtu-id-from %1: the RTU addresses run out at %2 (the last is 247), for %3 ports</source>
        <translation>--rtu-id-from %1: начиная с порта %2 адресов RTU не хватает (последний — 247), а портов: %3</translation>
    </message>
    <message>
        <source>the plan is in %1</source>
        <translation>план — в %1</translation>
    </message>
    <message>
        <source>csv (comma, no byte order mark) or excel (semicolon, a UTF-8 byte order mark); by default as the plan is written</source>
        <translation>csv (запятая, без метки порядка байтов) или excel (точка с запятой, метка порядка байтов UTF-8); по умолчанию — как записан план</translation>
    </message>
    <message>
        <source>tabs</source>
        <translation>табуляцией</translation>
    </message>
    <message>
        <source>semicolons</source>
        <translation>точкой с запятой</translation>
    </message>
    <message>
        <source>commas</source>
        <translation>запятыми</translation>
    </message>
    <message>
        <source>read as %1 text, its fields separated by %2</source>
        <translation>прочитан как текст %1, поля разделены %2</translation>
    </message>
    <message>
        <source>no module with the MAC address %1: no port to look on but the rows&apos; own</source>
        <translation>модуля с MAC-адресом %1 нет: других портов, кроме портов самих строк, для поиска нет</translation>
    </message>
    <message>
        <source>line %1  %2  %3  ip %4  %5</source>
        <translation>строка %1  %2  %3  ip %4  %5</translation>
    </message>
    <message>
        <source>--report-format &quot;%1&quot;: csv or excel</source>
        <translation>--report-format «%1»: csv или excel</translation>
    </message>
    <message>
        <source>%1: %2; the report follows on stderr</source>
        <translation>%1: %2; протокол выводится далее в stderr</translation>
    </message>
    <message>
        <source>%1: %2: the check %3: %4</source>
        <translation>%1: %2: проверка %3: %4</translation>
    </message>
    <message>
        <source>Writes a batch plan (CSV) on stdout, or to the file of -o: one row per port,
in the order given, each with the template and the next IP address from
--ip-from on (and the next rtu_virtual_id from --rtu-id-from on, when
given). The addresses stay inside the subnet the template&apos;s mask makes of
--ip-from, past its network and broadcast addresses and the template&apos;s
gateway; where too few are left, nothing is written and the count that
fits is said. The template&apos;s path is written relative to the plan&apos;s file
(on stdout: to the working folder), so that the plan and its template can
move to another PC together. --ports found takes the ports where find sees
a module; a port named twice, under any name, is refused.</source>
        <translation>Записывает план пакетной записи (CSV) в stdout или в файл -o: по строке на
каждый порт в заданном порядке, в каждой — шаблон и очередной IP-адрес начиная
с --ip-from (и очередной rtu_virtual_id начиная с --rtu-id-from, если он
задан). Адреса остаются внутри подсети, которую маска шаблона образует из
--ip-from, минуя её адрес сети, широковещательный адрес и основной шлюз
(gateway) шаблона; если адресов не хватает, ничего не записывается и
называется, сколько их помещается. Путь шаблона записывается относительно
файла плана (в stdout — относительно рабочей папки), чтобы план и шаблон
можно было вместе перенести на другой ПК. --ports found берёт порты, на
которых find видит модуль; порт, указанный дважды под любым именем,
отклоняется.</translation>
    </message>
    <message>
        <source>The report&apos;s folder is proven writable before anything is sent, and the
report is written however the batch ends (done, a failing row, Ctrl+C, a
closed terminal or pipe); if it cannot be written then, its rows go to
stderr as CSV and the exit status is not 0. It follows the plan&apos;s dialect
(its separator; a UTF-8 byte order mark where the plan had one or was
Windows-1251 or UTF-16) unless --report-format says otherwise. Each row
has line, port, mac, version, result, detail, written (the keys the module
took, in order, whatever the result), started, finished, plan, tool, host,
each value read back, each as asked (&lt;key&gt;_asked) and each as it was
(&lt;key&gt;_before).

--force sends the values unchecked, as in write; an existing report is
replaced only with --overwrite (which --force did before).

With --json the report is also printed as JSON. Exit status 0 when every
row is ok, 3 when no row reached a module over its port, 1 when some row
failed otherwise, 2 for a bad plan, 130 when interrupted (the report is
still written, unfinished rows &quot;interrupted&quot;).</source>
        <translation>До отправки чего-либо проверяется, что в папке протокола можно создать файл, и
протокол записывается, как бы ни закончился пакет (выполнен, строка с ошибкой,
Ctrl+C, закрытый терминал или канал); если тогда его не удаётся записать, его
строки выводятся в stderr как CSV, а код завершения не 0. Протокол следует
диалекту плана (его разделитель; метка порядка байтов UTF-8, если она была в
плане или план был в Windows-1251 или UTF-16), если --report-format не задаёт
иное. В каждой строке: line, port, mac, version, result, detail, written
(ключи, которые принял модуль, по порядку, каков бы ни был результат),
started, finished, plan, tool, host, каждое прочитанное значение, каждое
заданное (&lt;key&gt;_asked) и каждое прежнее (&lt;key&gt;_before).

--force отправляет значения без проверки, как в write; существующий протокол
заменяется только с --overwrite (раньше это делал --force).

С --json протокол выводится ещё и как JSON. Код завершения 0, если каждая
строка ok, 3, если ни одна строка не дошла до модуля через его порт, 1, если
какая-то строка не выполнена по другой причине, 2 при неверном плане, 130 при
прерывании (протокол всё равно записывается, незавершённые строки —
«interrupted»).</translation>
    </message>
    <message>
        <source>the module refused a value, reported a bad value, or read back something other than was written (a batch: some row failed, and some row reached a module)</source>
        <translation>модуль отклонил значение или сообщил о неверном значении, либо при контрольном чтении прочитано не то, что записано (batch: какая-то строка не выполнена, и какая-то строка дошла до модуля)</translation>
    </message>
    <message>
        <source>bad usage or input: nothing was sent (for values that cannot work with the module&apos;s own, nothing written)</source>
        <translation>неверный вызов или входные данные: ничего не отправлено (для значений, которые не могут работать с собственными значениями модуля, ничего не записано)</translation>
    </message>
    <message>
        <source>no module: no such port, no serial device, a busy port, a silent module, garbled replies, a module lost or not back after its restart (a batch: no row reached a module)</source>
        <translation>нет модуля: нет такого порта, это не последовательный порт, порт занят, модуль молчит, ответы искажены, модуль пропал или не вернулся после перезагрузки (batch: ни одна строка не дошла до модуля)</translation>
    </message>
    <message>
        <source>interrupted (Ctrl+C, SIGTERM, SIGHUP, the console closed); the command on the wire is finished first</source>
        <translation>прервано (Ctrl+C, SIGTERM, SIGHUP, консоль закрыта); команда, уже отправленная в порт, сначала завершается</translation>
    </message>
    <message>
        <source>&quot;gateway-cli COMMAND --help&quot; tells more of each.

PORT is a port name (COM3, ttyUSB0: a device in /dev) or a device path
(/dev/serial/by-id/..., relative from the working folder); two names of
one device are one port, and a device in use by another program, under
any name, is busy. FILE is a settings file (.TRset), as the configurator&apos;s
menu &quot;Файл настройки&quot; opens and saves them.

Parameter keys: mode, version, mac, ip, mask, gateway, port_tcp, parity,
speed, stop_bits, timeout_response, ip_server_tcp, timeout_tcp,
rtu_virtual_id, tcp_slave_id, in any case. Values are written as the
module replies them, the choices&apos; words in any case: mode server or
client; parity none, odd or even; speed the baud rate; stop_bits 1 or 2;
tcp_slave_id a number or off. version and mac are read only.

Results: ok, refused, mismatch, garbled (replies that are not the
protocol&apos;s), invalid (values that cannot work together; nothing written),
silent, lost, no-port, not-serial, busy, interrupted.</source>
        <translation>Подробнее о каждой команде: «gateway-cli КОМАНДА --help».

PORT — имя порта (COM3, ttyUSB0: устройство в /dev) или путь к устройству
(/dev/serial/by-id/..., относительно рабочей папки); два имени одного
устройства — один порт, а устройство, занятое другой программой, занято под
любым именем. FILE — файл настройки (.TRset): такие файлы открывает и сохраняет
меню конфигуратора «Файл настройки».

Ключи параметров: mode, version, mac, ip, mask, gateway, port_tcp, parity,
speed, stop_bits, timeout_response, ip_server_tcp, timeout_tcp,
rtu_virtual_id, tcp_slave_id, в любом регистре. Значения задаются так, как их
возвращает модуль, значения из списка — в любом регистре: mode — server или
client; parity — none, odd или even; speed — скорость в бит/с; stop_bits — 1
или 2; tcp_slave_id — число или off. version и mac только читаются.

Результаты: ok, refused, mismatch, garbled (ответы не по протоколу), invalid
(значения, которые не могут работать вместе; ничего не записано), silent,
lost, no-port, not-serial, busy, interrupted.</translation>
    </message>
    <message>
        <source>%1: module %2, firmware %3</source>
        <translation>%1: модуль %2, прошивка %3</translation>
    </message>
    <message>
        <source>how long to wait for the module to come back after its restart (default 30)</source>
        <translation>сколько секунд ждать возвращения модуля после перезагрузки (по умолчанию 30)</translation>
    </message>
    <message>
        <source>a value to write (repeatable, each key once)</source>
        <translation>значение для записи (можно несколько, каждый ключ один раз)</translation>
    </message>
    <message>
        <source>--check needs the reboot that applies the values: leave out --no-reboot</source>
        <translation>для --check нужна перезагрузка, которая применяет значения: уберите --no-reboot</translation>
    </message>
    <message>
        <source>nothing was written</source>
        <translation>ничего не записано</translation>
    </message>
    <message>
        <source>nothing to write: every value is as asked</source>
        <translation>нечего записывать: все значения уже такие, как заданы</translation>
    </message>
    <message>
        <source>written: %1</source>
        <translation>записаны: %1</translation>
    </message>
    <message>
        <source>rebooted, back after %1 s; read back: every value as written</source>
        <translation>перезагружен, вернулся через %1 с; контрольное чтение: все значения такие, как записаны</translation>
    </message>
    <message>
        <source>end once the command has left the port: no wait for the module&apos;s return</source>
        <translation>закончить, как только команда ушла в порт, не дожидаясь возвращения модуля</translation>
    </message>
    <message>
        <source>sent &quot;%1&quot;; the module answers again after %2 s</source>
        <translation>отправлено «%1»; модуль снова ответил через %2 с</translation>
    </message>
    <message>
        <source>sent &quot;%1&quot;</source>
        <translation>отправлено «%1»</translation>
    </message>
    <message>
        <source>it came back with:</source>
        <translation>модуль вернулся с такими значениями:</translation>
    </message>
    <message>
        <source>Writes the values of a settings file, each --set overriding one (without a
file, only the --set keys), in the configurator&apos;s write order, each
acknowledgement checked; then reboots the module (&quot;reset&quot;), waits for it to
come back and reads every parameter back. Before anything is sent, every
value is checked: IPv4 addresses for ip, mask, gateway and ip_server_tcp;
port_tcp 502 or 10000-65535; timeout_response 100-60000; timeout_tcp
5-240; rtu_virtual_id 1-247; tcp_slave_id 1-255 or off; the choices&apos;
words (in any case: None is none). Keys are taken in any case too; each
once. A bad value is named with what is wrong with it, one line each, and
nothing is sent (exit status 2).

Addresses that cannot work on a network are refused as well: a mask must
be a prefix /1 to /30 (255.255.255.0 is /24); ip no address of 0.0.0.0/8,
127.0.0.0/8 or multicast, not 255.255.255.255, nor its subnet&apos;s network
or broadcast address; gateway 0.0.0.0 (none) or an address of the
module&apos;s subnet other than ip; ip_server_tcp a unicast address outside
127.0.0.0/8. The rules that tie ip, mask and gateway together are judged
on the values as they will stand: where only some are given, the others
are read from the module first, and nothing is written when they cannot
work (exit status 2).</source>
        <translation>Записывает значения файла настройки, каждый --set заменяет одно (без файла —
только ключи --set), в порядке записи конфигуратора, проверяя каждое
подтверждение; затем перезагружает модуль («reset»), ждёт его возвращения и
выполняет контрольное чтение всех параметров. До отправки чего-либо
проверяется каждое значение: адреса IPv4 для ip, mask, gateway и
ip_server_tcp; port_tcp 502 или 10000-65535; timeout_response 100-60000;
timeout_tcp 5-240; rtu_virtual_id 1-247; tcp_slave_id 1-255 или off;
значения из списка (в любом регистре: None — это none). Ключи тоже
принимаются в любом регистре, каждый один раз. Неверное значение называется
с тем, что в нём не так, по строке на каждое, и ничего не отправляется (код
завершения 2).

Адреса, которые не могут работать в сети, тоже отклоняются: маска должна быть
префиксом от /1 до /30 (255.255.255.0 — это /24); ip — не адрес из 0.0.0.0/8
или 127.0.0.0/8, не групповой адрес, не 255.255.255.255 и не адрес сети или
широковещательный адрес своей подсети; gateway (основной шлюз) — 0.0.0.0
(основного шлюза нет) или адрес подсети модуля, отличный от ip;
ip_server_tcp — адрес одного узла вне 127.0.0.0/8. Правила, связывающие ip,
mask и gateway, применяются к значениям в том виде, в каком они будут: если
заданы не все, остальные сначала читаются из модуля, и если вместе они не
могут работать, ничего не записывается (код завершения 2).</translation>
    </message>
    <message>
        <source>The first refusal (&quot;?&quot;), or an answer other than &quot;ok&quot;, or none in the
module&apos;s time, stops the write: nothing more is sent, and the keys the
module took before it are named, on every failure and on Ctrl+C (which
waits for the answer to the change on the wire). --force sends every value
unchecked, the network&apos;s rules too (and so allows the masks /31 and /32).
Exit status 0 only when every value reads back as written.</source>
        <translation>Первый отказ («?»), ответ не «ok» или отсутствие ответа за время модуля
останавливает запись: больше ничего не отправляется, а ключи, принятые модулем
до этого, называются при любой ошибке и при Ctrl+C (который ждёт ответа на
изменение, уже отправленное в порт). --force отправляет каждое значение без
проверки, в том числе без правил сети (и поэтому допускает маски /31 и /32).
Код завершения 0, только если при контрольном чтении каждое значение такое,
каким записано.</translation>
    </message>
    <message>
        <source>restart the module and wait until it answers again</source>
        <translation>перезагрузить модуль и дождаться его ответа</translation>
    </message>
    <message>
        <source>Asks the module who it is, restarts it (&quot;RESET&quot;), waits until it answers
again (its device may vanish and come back meanwhile), confirms it with a
query and prints how long it took. Exit status 3 when it does not come
back in time.</source>
        <translation>Спрашивает модуль, кто он, перезагружает его («RESET»), ждёт, пока он снова
ответит (его устройство может при этом пропасть и появиться снова),
подтверждает это запросом и выводит, сколько это заняло. Код завершения 3,
если модуль не вернулся вовремя.</translation>
    </message>
    <message>
        <source>Asks the module who it is, returns it to its factory settings (&quot;LOAD
SETTING:DEFAULT&quot;), waits until it answers again after its restart and
shows the values it came back with (with --json as &quot;after&quot;). It refuses
without --yes (exit status 2); exit status 3 when the module does not come
back in time.</source>
        <translation>Спрашивает модуль, кто он, сбрасывает его к заводским настройкам («LOAD
SETTING:DEFAULT»), ждёт, пока он снова ответит после перезагрузки, и
показывает значения, с которыми он вернулся (с --json — как «after»). Без
--yes отказывается (код завершения 2); код завершения 3, если модуль не
вернулся вовремя.</translation>
    </message>
    <message>
        <source>every line sent and received, with a time stamp, and the device leaving and coming back around a restart, on stderr</source>
        <translation>в stderr — каждая отправленная и полученная строка с отметкой времени, а также пропадание и возвращение устройства при перезагрузке</translation>
    </message>
    <message>
        <source>%1: no such column (the columns: port, mac, file, check, via, %2)</source>
        <translation>%1: нет такого столбца (столбцы: port, mac, file, check, via, %2)</translation>
    </message>
    <message>
        <source>%1: %2 and %3 of line %4 are one device, %5</source>
        <translation>%1: %2 и %3 из строки %4 — одно устройство, %5</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1: no port named</source>
        <translation>%1: не указан ни один порт</translation>
    </message>
    <message>
        <source>%1: %2 and %3 are one device, %4; name each port once</source>
        <translation>%1: %2 и %3 — одно устройство, %4; укажите каждый порт один раз</translation>
    </message>
    <message>
        <source>opened</source>
        <translation>порт открыт</translation>
    </message>
    <message>
        <source>scanned</source>
        <translation>сканирование выполнено</translation>
    </message>
    <message>
        <source>restarting (&quot;%1&quot; sent)</source>
        <translation>перезагрузка (отправлено «%1»)</translation>
    </message>
    <message>
        <source>back after %1 s</source>
        <translation>модуль вернулся через %1 с</translation>
    </message>
    <message>
        <source>read back</source>
        <translation>контрольное чтение выполнено</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>пусто</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no digit 0-9</source>
        <translation>«%1» — не цифра 0-9</translation>
    </message>
    <message>
        <source>no leading zeros</source>
        <translation>ведущие нули не допускаются</translation>
    </message>
    <message numerus="yes">
        <source>%n number(s) with dots between them, not four; %1</source>
        <translation>
            <numerusform>%n число через точку, а не четыре; %1</numerusform>
            <numerusform>%n числа через точку, а не четыре; %1</numerusform>
            <numerusform>%n чисел через точку, а не четыре; %1</numerusform>
        </translation>
    </message>
    <message>
        <source>over 255</source>
        <translation>больше 255</translation>
    </message>
    <message>
        <source>%1 in its number %2 (&quot;%3&quot;); %4</source>
        <translation>%2-е число («%3»): %1; %4</translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1; %2</translation>
    </message>
    <message>
        <source>%1: given twice with --set; say each key once</source>
        <translation>%1: задан в --set дважды; укажите каждый ключ один раз</translation>
    </message>
    <message>
        <source>--unit and --via go with --check</source>
        <translation>--unit и --via задаются только вместе с --check</translation>
    </message>
    <message>
        <source>a via without a check</source>
        <translation>via без check</translation>
    </message>
    <message>
        <source>the module will be in TCP client mode (mode client): it connects to its server and listens for no check; let gateway-cli serve stand in for that server (gateway-cli serve --help)</source>
        <translation>модуль будет в режиме клиента TCP (mode client): он сам соединяется со своим сервером и входящих соединений не принимает, поэтому так его проверить нельзя; этот сервер может заменить gateway-cli serve (gateway-cli serve --help)</translation>
    </message>
    <message>
        <source>the check: the module&apos;s ip and port_tcp are not known: give --via</source>
        <translation>проверка: ip и port_tcp модуля неизвестны: укажите --via</translation>
    </message>
    <message>
        <source>[OPTION]...</source>
        <translation>[ОПЦИЯ]...</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: HOST must be an address of this PC</source>
        <translation>«%1»: HOST должен быть адресом этого ПК</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: PORT &quot;%2&quot; is not a number 0-65535</source>
        <translation>«%1»: PORT «%2» — не число 0-65535</translation>
    </message>
    <message>
        <source>checking %1 at %2:%3</source>
        <translation>проверка %1 на %2:%3</translation>
    </message>
    <message>
        <source>the check %1: %2</source>
        <translation>проверка %1: %2</translation>
    </message>
    <message>
        <source>A device&apos;s own exceptions (0x01-0x04) prove that the path through the
gateway works: the read was wrong for the device. 0x0B says that no device
answered on the gateway&apos;s RS-485 line: speed, parity, stop bits, the
device&apos;s address, wiring, termination or timeout_response. A reply counts
only when it answers its request (transaction, protocol, unit, function,
byte count and data): anything else is a malformed reply, and nothing of
it is taken. Each request waits its whole --timeout. A connection that the
gateway closes is not opened again: the reads not answered by then are
reported unanswered, with what earlier rounds read.

On a terminal the connection and each read are shown as they come (with
--repeat, one line rewritten in place); piped, the same text comes at the
end. Ctrl+C prints what was read so far.

With --json: {&quot;host&quot;, &quot;port&quot;, &quot;connected&quot;, &quot;connect_ms&quot;, &quot;error&quot;,
&quot;result&quot;, &quot;interrupted&quot;, &quot;requests&quot;: [{&quot;unit&quot;, &quot;kind&quot;, &quot;address&quot;,
&quot;count&quot;, &quot;values&quot;, &quot;exception&quot;, &quot;exception_name&quot;, &quot;mismatch&quot;, &quot;ms&quot;,
&quot;error&quot;, ...}], ...}.</source>
        <translation>Собственные исключения устройства (0x01-0x04) доказывают, что путь через
шлюз работает: чтение не подошло устройству. 0x0B значит, что в линии
RS-485 шлюза не ответило ни одно устройство: скорость, паритет, стоп-биты,
адрес устройства, проводка, терминатор или timeout_response. Ответ
принимается, только если он отвечает на свой запрос (транзакция, протокол,
адрес устройства, функция, счётчик байтов и данные): любой другой ответ —
ответ не по форме, и ничего из него не принимается. Каждый запрос ждёт
ответа весь --timeout. Соединение, закрытое шлюзом, повторно не
открывается: чтения, оставшиеся к тому времени без ответа, так и
указываются, вместе с тем, что прочитали прежние циклы.

В терминале соединение и каждое чтение показываются по мере поступления (с
--repeat — одной строкой, которая переписывается на месте); при выводе в
канал тот же текст выводится в конце. Ctrl+C выводит то, что уже прочитано.

С --json: {&quot;host&quot;, &quot;port&quot;, &quot;connected&quot;, &quot;connect_ms&quot;, &quot;error&quot;,
&quot;result&quot;, &quot;interrupted&quot;, &quot;requests&quot;: [{&quot;unit&quot;, &quot;kind&quot;, &quot;address&quot;,
&quot;count&quot;, &quot;values&quot;, &quot;exception&quot;, &quot;exception_name&quot;, &quot;mismatch&quot;, &quot;ms&quot;,
&quot;error&quot;, ...}], ...}.</translation>
    </message>
    <message>
        <source>a path not proven: the gateway&apos;s exception (0x0A, 0x0B) or one not known, no reply, the connection closed before every answer, or a malformed reply</source>
        <translation>путь не доказан: исключение шлюза (0x0A, 0x0B) или неизвестное исключение, нет ответа, соединение закрыто раньше, чем пришли все ответы, или ответ не по форме</translation>
    </message>
    <message>
        <source>every path proven, but a device answered a read with its own exception (0x01-0x04, 0x05, 0x06, 0x08): the read was wrong for it, or it was busy</source>
        <translation>все пути доказаны, но устройство ответило на чтение собственным исключением (0x01-0x04, 0x05, 0x06, 0x08): чтение ему не подошло или оно было занято</translation>
    </message>
    <message>
        <source>interrupted (Ctrl+C, SIGTERM, SIGHUP): what was read is printed</source>
        <translation>прервано (Ctrl+C, SIGTERM, SIGHUP): прочитанное выводится</translation>
    </message>
    <message>
        <source>unit %1 %2: waiting for the reply...</source>
        <translation>устройство %1 %2: ожидание ответа...</translation>
    </message>
    <message>
        <source>after the read-back, read through the gateway over Modbus TCP, as the check command does (repeatable): at the written ip and port_tcp, or at --via. The exit status is then the check&apos;s (0, 1, 3 or 4) unless the write failed. A module that will be in client mode is refused before any change is sent</source>
        <translation>после контрольного чтения прочитать через шлюз по Modbus TCP, как команда check (можно несколько): по записанным ip и port_tcp или по --via. Код завершения тогда — код проверки (0, 1, 3 или 4), если сама запись не завершилась ошибкой. Модуль, который будет в режиме клиента, отклоняется до отправки каких-либо изменений</translation>
    </message>
    <message>
        <source>the units asked, in this order: numbers and ranges separated by commas, each 1-247 (default 1-247; for example 1-32 or 1,5,10-20)</source>
        <translation>опрашиваемые адреса в этом порядке: числа и диапазоны через запятую, каждый 1-247 (по умолчанию 1-247; например, 1-32 или 1,5,10-20)</translation>
    </message>
    <message>
        <source>how long to wait for the connection and for each reply (default 3000): longer than the gateway&apos;s own response time-out (the module&apos;s timeout_response), so that each absent unit&apos;s 0x0B comes before it</source>
        <translation>сколько ждать соединения и каждого ответа, в мс (по умолчанию 3000): дольше собственного таймаута ответа шлюза (timeout_response модуля), чтобы 0x0B каждого отсутствующего адреса приходило раньше</translation>
    </message>
    <message>
        <source>ask every unit through the gateway: which devices answer on its RS-485 line?</source>
        <translation>опросить все адреса через шлюз: какие устройства отвечают в его линии RS-485?</translation>
    </message>
    <message>
        <source>Finds the devices on a gateway&apos;s RS-485 line: connects to it over Modbus
TCP at HOST and PORT (default 502) and sends the read of --read to each
unit of --units in turn, one request at a time. A unit whose device
answers, with values or with its own exception (0x01-0x04: a device is
there), is found; 0x0B or no reply: none there. Nothing is sent to the
module&apos;s configuration port.</source>
        <translation>Находит устройства в линии RS-485 шлюза: соединяется с ним по Modbus TCP
на HOST и PORT (по умолчанию 502) и отправляет чтение из --read каждому
адресу из --units по очереди, по одному запросу. Адрес, устройство которого
отвечает значениями или собственным исключением (0x01-0x04: устройство
есть), найден; 0x0B или нет ответа: устройства нет. В порт настройки модуля
ничего не отправляется.</translation>
    </message>
    <message>
        <source>The line carries one request at a time, so each absent unit costs the
gateway&apos;s response time-out (timeout_response) before its 0x0B: 247 units
at 1000 ms take about four minutes. A short --units list makes it short.
Requests go one at a time: several at once would save only the network&apos;s
round trip per unit, and a gateway without a queue refuses or drops them.
Exception 0x0A (the gateway has no path) is reported once for all the
units that got it. A connection the gateway closes is opened again and
the unit whose reply it took asked again, as long as each connection got
a unit answered.

On a terminal: the connection, a line for each device as it is found, and
a progress line (units asked of all, found so far, time left). Piped: a
line for each device found, then the summary. Ctrl+C prints what was
found.

With --json: {&quot;host&quot;, &quot;port&quot;, &quot;connected&quot;, &quot;connect_ms&quot;, &quot;error&quot;,
&quot;failure&quot;, &quot;hint&quot;, &quot;closed_by_gateway&quot;, &quot;interrupted&quot;, &quot;result&quot;,
&quot;timeout_ms&quot;, &quot;read&quot;, &quot;units&quot;, &quot;units_asked&quot;, &quot;found&quot;: [{&quot;unit&quot;,
&quot;values&quot;, &quot;exception&quot;, &quot;exception_name&quot;, &quot;ms&quot;}], &quot;no_path&quot;,
&quot;reconnects&quot;, &quot;ms&quot;}; one whole document also after Ctrl+C.</source>
        <translation>Линия передаёт один запрос за раз, поэтому каждый отсутствующий адрес
стоит таймаута ответа шлюза (timeout_response) до его 0x0B: 247 адресов
при 1000 мс занимают около четырёх минут. Короткий список --units
сокращает опрос. Запросы идут по одному: несколько сразу сэкономили бы
лишь сетевую задержку на адрес, а шлюз без очереди отвергает или теряет
их. Исключение 0x0A (у шлюза нет пути) сообщается один раз для всех
адресов, получивших его. Соединение, закрытое шлюзом, открывается снова,
и адрес, чей ответ пропал вместе с ним, опрашивается снова, пока каждое
соединение получает ответ хотя бы одного адреса.

В терминале: соединение, строка о каждом устройстве, как только оно
найдено, и строка хода работы (опрошено адресов из всех, найдено, сколько
осталось времени). В канал: строка о каждом найденном устройстве, затем
итог. Ctrl+C выводит найденное.

С --json: {&quot;host&quot;, &quot;port&quot;, &quot;connected&quot;, &quot;connect_ms&quot;, &quot;error&quot;,
&quot;failure&quot;, &quot;hint&quot;, &quot;closed_by_gateway&quot;, &quot;interrupted&quot;, &quot;result&quot;,
&quot;timeout_ms&quot;, &quot;read&quot;, &quot;units&quot;, &quot;units_asked&quot;, &quot;found&quot;: [{&quot;unit&quot;,
&quot;values&quot;, &quot;exception&quot;, &quot;exception_name&quot;, &quot;ms&quot;}], &quot;no_path&quot;,
&quot;reconnects&quot;, &quot;ms&quot;}; один целый документ и после Ctrl+C.</translation>
    </message>
    <message>
        <source>at least one device found</source>
        <translation>найдено хотя бы одно устройство</translation>
    </message>
    <message>
        <source>every unit asked, no device found: the line settings may differ (tune)</source>
        <translation>опрошены все адреса, устройств не найдено: параметры линии могут отличаться (tune)</translation>
    </message>
    <message>
        <source>bad usage (a malformed --units, --read or host): nothing was sent</source>
        <translation>неверный вызов (неверные --units, --read или узел): ничего не отправлено</translation>
    </message>
    <message>
        <source>no connection, or the connection lost before every unit was asked</source>
        <translation>нет соединения, или соединение потеряно до опроса всех адресов</translation>
    </message>
    <message>
        <source>interrupted (Ctrl+C, SIGTERM, SIGHUP): what was found is printed</source>
        <translation>прервано (Ctrl+C, SIGTERM, SIGHUP): найденное выводится</translation>
    </message>
    <message>
        <source>the speeds tried, separated by commas (default every speed of the module)</source>
        <translation>пробуемые скорости через запятую (по умолчанию все скорости модуля)</translation>
    </message>
    <message>
        <source>the parities tried: none, even, odd, separated by commas (default all)</source>
        <translation>пробуемые паритеты: none, even, odd через запятую (по умолчанию все)</translation>
    </message>
    <message>
        <source>the stop bits tried: 1, 2, separated by commas (default both)</source>
        <translation>пробуемые стоп-биты: 1, 2 через запятую (по умолчанию оба)</translation>
    </message>
    <message>
        <source>try every setting and report each one&apos;s devices; the module then goes to the first setting found</source>
        <translation>перебрать все наборы и сообщить устройства каждого; затем модуль переводится на первый найденный набор</translation>
    </message>
    <message>
        <source>--%1 &quot;%2&quot;: not one of %3</source>
        <translation>--%1 «%2»: не входит в %3</translation>
    </message>
    <message>
        <source>--via HOST[:PORT] is needed: the module&apos;s TCP side, where the devices are asked</source>
        <translation>нужна --via HOST[:PORT]: сторона TCP модуля, через которую опрашиваются устройства</translation>
    </message>
    <message>
        <source>%1: %2; the record follows on stderr</source>
        <translation>%1: %2; протокол выводится в stderr</translation>
    </message>
    <message>
        <source>find the line settings at which the devices on the gateway&apos;s RS-485 line answer</source>
        <translation>найти параметры линии, на которых отвечают устройства в линии RS-485 шлюза</translation>
    </message>
    <message>
        <source>Finds the speed, parity and stop bits of the devices on a gateway&apos;s RS-485
line: reads the module&apos;s settings through its configuration port PORT,
then for each line setting in turn writes what changes of speed, parity
and stop_bits, restarts the module, waits until it answers again (read
back) and surveys --units through its TCP side at --via, as survey does.
It stops at the first setting at which a device answers and leaves the
module there. Only the line settings are ever written.</source>
        <translation>Находит скорость, паритет и стоп-биты устройств в линии RS-485 шлюза:
читает параметры модуля через его порт настройки PORT, затем для каждого
набора параметров линии по очереди записывает изменившиеся из speed,
parity и stop_bits, перезагружает модуль, ждёт, пока он снова ответит
(параметры читаются), и опрашивает --units через его сторону TCP по --via,
как survey. Останавливается на первом наборе, на котором ответило
устройство, и оставляет модуль на нём. Записываются только параметры
линии.</translation>
    </message>
    <message>
        <source>a device found: the module is left at its setting</source>
        <translation>устройство найдено: модуль оставлен на его наборе</translation>
    </message>
    <message>
        <source>no setting found a device: the module at its original line settings again</source>
        <translation>ни на одном наборе устройство не найдено: модуль снова на исходных параметрах линии</translation>
    </message>
    <message>
        <source>bad usage, or the module in TCP client mode: nothing was written</source>
        <translation>неверный вызов или модуль в режиме клиента TCP: ничего не записано</translation>
    </message>
    <message>
        <source>the module or the connection failed: the module put back where it could be (the output says whether it was)</source>
        <translation>сбой модуля или соединения: модуль возвращён к прежним настройкам, если это удалось (в выводе сказано, удалось ли)</translation>
    </message>
    <message>
        <source>interrupted (Ctrl+C, SIGTERM, SIGHUP): the module put back (the output says whether it was)</source>
        <translation>прервано (Ctrl+C, SIGTERM, SIGHUP): модуль возвращён к прежним настройкам (в выводе сказано, удалось ли)</translation>
    </message>
    <message>
        <source>the module is in TCP client mode (mode client): it has no TCP side to ask; tune needs it in server mode</source>
        <translation>модуль в режиме клиента TCP (mode client): у него нет стороны TCP для опроса; tune нужен режим сервера</translation>
    </message>
    <message>
        <source>the ports, separated by commas, as this help tells</source>
        <translation>порты через запятую, как описано в этой справке</translation>
    </message>
    <message>
        <source>Commissions every module of a plan at once, one port each, side by side:
open, scan (identity and the values before), write, reboot, wait for the
module to come back, read back and compare. A module that fails fails its
own row only.

The plan is CSV as spreadsheets save it: comma, semicolon or tab between
the fields, quotes as RFC 4180; UTF-8 (with or without a byte order mark),
UTF-16 with a byte order mark (&quot;Unicode text&quot;), or where the bytes are no
UTF-8, Windows-1251 (a Russian-locale &quot;CSV&quot;); which it took is said on
stderr. Rows of separators only and empty cells at the header&apos;s end are
left out. A header row, then one row per module with the columns
  port     a port name or device path, or
  mac      the module&apos;s MAC address, found on whichever port of --ports
           it is (by default on every listed port)
  file     a settings file to start from (relative to the plan&apos;s folder)
  KEY      any writable parameter key (in any case); a cell overrides the
           file&apos;s value, an empty cell leaves it
  check    reads through the gateway once the module is read back, as
           write --check: UNIT:KIND:ADDRESS[:COUNT], several separated by
           blanks; the report&apos;s check, check_result and check_ms. No
           connection fails the row as unreachable; a reply that does not
           answer its request as invalid-reply; 0x0A, 0x0B, no answer or a
           closed connection as no-field-reply; a device&apos;s own exception
           leaves it ok
  via      where the check connects (HOST[:PORT]) instead of the module&apos;s
           ip and port_tcp
The whole plan is checked before anything is sent (unknown columns, rows
with neither port nor mac, missing files, bad values, addresses that
cannot work, two rows on one device under any names or with one mac, two
modules given one ip): every fault is listed with its line and column, and
the exit status is 2. A port that is not there is no fault of the plan:
its row&apos;s result is no-port.</source>
        <translation>Выполняет наладку всех модулей плана сразу, каждого на своём порту,
параллельно: открытие порта, сканирование (идентификация и прежние значения),
запись, перезагрузка, ожидание возвращения модуля, контрольное чтение и
сравнение. Ошибка одного модуля сказывается только на его строке.

План — CSV в том виде, в каком его сохраняют электронные таблицы: запятая,
точка с запятой или табуляция между полями, кавычки по RFC 4180; UTF-8 (с
меткой порядка байтов или без), UTF-16 с меткой порядка байтов («Текст в
Юникоде») или, если байты не UTF-8, Windows-1251 («CSV» в русской локали); в
каком виде он прочитан, сообщается в stderr. Строки из одних разделителей и
пустые ячейки в конце заголовка пропускаются. Строка заголовка, затем по
строке на модуль со столбцами
  port     имя порта или путь к устройству, или
  mac      MAC-адрес модуля, который ищется на любом порту из --ports
           (по умолчанию — на всех перечисленных системой портах)
  file     файл настройки, с которого начать (относительно папки плана)
  KEY      любой записываемый ключ параметра (в любом регистре); ячейка
           заменяет значение файла, пустая ячейка оставляет его
  check    чтение через шлюз после контрольного чтения модуля, как
           write --check: UNIT:KIND:ADDRESS[:COUNT], несколько — через
           пробел; в протоколе это check, check_result и check_ms. Нет
           соединения — строка не выполнена как unreachable; ответ, не
           отвечающий на свой запрос, — как invalid-reply; 0x0A, 0x0B, нет
           ответа или соединение закрыто — как no-field-reply; собственное
           исключение устройства оставляет строку ok
  via      куда соединяется проверка (HOST[:PORT]) вместо ip и port_tcp
           модуля
Весь план проверяется до отправки чего-либо (неизвестные столбцы, строки без
port и mac, отсутствующие файлы, неверные значения, адреса, которые не могут
работать, две строки на одном устройстве под любыми именами или с одним mac,
один ip у двух модулей): каждая ошибка указывается со строкой и столбцом, и
код завершения — 2. Отсутствующий порт — не ошибка плана: результат его строки
будет no-port.</translation>
    </message>
    <message>
        <source>the module&apos;s settings file (.TRset): its values named in the hints, and its timeout_response + 1000 the default of --timeout</source>
        <translation>файл настройки модуля (.TRset): его значения приводятся в подсказках, а его timeout_response + 1000 — значение --timeout по умолчанию</translation>
    </message>
    <message>
        <source>Proves that a gateway bridges: connects to it over Modbus TCP at HOST and
PORT (default 502), sends each read of --read (repeatable) in the order
given, each to the unit of --unit, and reports what came back: the
values, or the exception with its name, what it means at a gateway and
what to look at. Nothing is sent to the module&apos;s configuration port.</source>
        <translation>Проверяет, что шлюз передаёт запросы: соединяется с ним по Modbus TCP по
адресу HOST и порту PORT (по умолчанию 502), отправляет чтения --read (можно
несколько) в заданном порядке, каждое устройству с адресом --unit, и сообщает, что пришло в ответ:
значения или исключение с его названием, что оно значит у шлюза и что
проверить. В порт настройки модуля ничего не отправляется.</translation>
    </message>
    <message>
        <source>A reply that is missing, empty or not one of a choice&apos;s words fails the
scan and names the key: exit status 3 for a silent module or one whose
replies are not the protocol&apos;s (garbled), 1 for a bad value. -o also
saves the thirteen values a settings file holds, as the configurator
saves them after the same scan; the file is checked before anything is
sent: its folder must take a new file, and an existing file is replaced
only with --overwrite.</source>
        <translation>Ответ, которого нет, пустой или не из допустимых значений, прерывает
сканирование и называет ключ: код завершения 3, если модуль молчит или его
ответы не по протоколу (garbled), 1 при неверном значении. С -o ещё и
сохраняются тринадцать значений файла настройки так, как их сохраняет
конфигуратор после такого же сканирования; файл проверяется до отправки
чего-либо: в его папке должен создаваться новый файл, а существующий файл
заменяется только с --overwrite.</translation>
    </message>
    <message>
        <source>a read (default hr:0:1). KIND is hr (holding registers), ir (input registers), coil or di (discrete inputs); ADDRESS the protocol address as it goes on the wire, 0-65535: the first holding register is hr:0. Pollers and device manuals count from 1 with the table in front: 40001 is hr:0, 40010 hr:9, 30001 ir:0, 10001 di:0, 00001 coil:0. COUNT 1-125 for registers, 1-2000 for bits (default 1).</source>
        <translation>чтение (по умолчанию hr:0:1). KIND — hr (регистры хранения), ir (входные регистры), coil (дискретные выходы) или di (дискретные входы); ADDRESS — адрес протокола, как он передаётся в запросе, 0-65535: первый регистр хранения — hr:0. Программы опроса и руководства устройств считают с 1 и ставят номер таблицы впереди: 40001 — это hr:0, 40010 — hr:9, 30001 — ir:0, 10001 — di:0, 00001 — coil:0. COUNT — 1-125 для регистров, 1-2000 для битов (по умолчанию 1).</translation>
    </message>
    <message>
        <source>where the reads through the gateway connect (port default 502): the module&apos;s TCP side, or a NAT or a port forward in front of it</source>
        <translation>куда соединяются чтения через шлюз (порт по умолчанию 502): сторона TCP модуля или NAT либо проброс порта перед ней</translation>
    </message>
    <message>
        <source>the file to write, as this help tells (an existing one is replaced only with --overwrite)</source>
        <translation>файл, который нужно записать, как описано в этой справке (существующий заменяется только с --overwrite)</translation>
    </message>
    <message>
        <source>the record (CSV) to write, as this help tells: proven writable before anything is sent, and written however the command ends</source>
        <translation>протокол (CSV), который нужно записать, как описано в этой справке: проверяется до отправки чего-либо и записывается, чем бы ни закончилась команда</translation>
    </message>
    <message>
        <source>The order, the commonest first: 9600 and 19200 with none/1 and even/1;
then 38400, 115200 and 57600 with them; then 9600 and 19200 with none/2,
odd/1, even/2 and odd/2; then 4800, 2400, 1200, 128000 and 256000 with
none/1 and even/1; then the middle speeds and then the rare ones with the
rare framings. --speeds, --parities and --stop-bits narrow it.

Nothing lost: when no setting finds a device, a step fails, or the
program is interrupted (Ctrl+C, SIGTERM, SIGHUP), the module&apos;s original
speed, parity and stop bits are written back, the module restarted and
its settings read back before the program ends; the output says whether
that was done. A move under way when interrupted ends first (the module
restarted and read back). A second interrupt ends the program at once
(the record is written). A module in TCP client mode has no TCP side to ask: it is
refused before anything is written.

Each try takes the changed settings at the module&apos;s pace (--interval),
the restart, and the survey: each absent unit costs the module&apos;s
timeout_response. A short --units list makes each try short. The record
of --report has a row per try, and one for the module put back or moved.

With --json: {&quot;port&quot;, &quot;via&quot;, &quot;result&quot;, &quot;original&quot;: {&quot;speed&quot;, &quot;parity&quot;,
&quot;stop_bits&quot;}, &quot;tried&quot;: [{&quot;speed&quot;, &quot;parity&quot;, &quot;stop_bits&quot;, &quot;written&quot;,
&quot;units_asked&quot;, &quot;found&quot;, &quot;result&quot;, &quot;detail&quot;, &quot;ms&quot;}], &quot;found&quot;: {&quot;speed&quot;,
&quot;parity&quot;, &quot;stop_bits&quot;, &quot;units&quot;} or null, &quot;several_settings&quot;, &quot;final&quot;,
&quot;restored&quot;, &quot;detail&quot;}.</source>
        <translation>Порядок, сначала самые распространённые: 9600 и 19200 с none/1 и even/1;
затем 38400, 115200 и 57600 с ними; затем 9600 и 19200 с none/2, odd/1,
even/2 и odd/2; затем 4800, 2400, 1200, 128000 и 256000 с none/1 и
even/1; затем средние и затем редкие скорости с редкими сочетаниями.
--speeds, --parities и --stop-bits сужают его.

Ничего не теряется: если ни на одном наборе устройство не найдено, шаг не
удался или программа прервана (Ctrl+C, SIGTERM, SIGHUP), исходные
скорость, паритет и стоп-биты модуля записываются обратно, модуль
перезагружается и его параметры читаются до завершения программы; в выводе
сказано, удалось ли это. Перевод модуля, идущий в момент прерывания,
сначала завершается (модуль перезагружен, параметры прочитаны). Второе
прерывание завершает программу сразу (протокол записывается). У модуля
в режиме клиента TCP нет стороны TCP для опроса: он отклоняется до любой
записи.

Каждая попытка занимает запись изменившихся параметров с паузой между
командами модуля (--interval), перезагрузку и опрос: каждый отсутствующий адрес стоит
timeout_response модуля. Короткий список --units сокращает каждую попытку. В протоколе
--report — строка на каждую попытку и строка о возврате или переводе модуля.

С --json: {&quot;port&quot;, &quot;via&quot;, &quot;result&quot;, &quot;original&quot;: {&quot;speed&quot;, &quot;parity&quot;,
&quot;stop_bits&quot;}, &quot;tried&quot;: [{&quot;speed&quot;, &quot;parity&quot;, &quot;stop_bits&quot;, &quot;written&quot;,
&quot;units_asked&quot;, &quot;found&quot;, &quot;result&quot;, &quot;detail&quot;, &quot;ms&quot;}], &quot;found&quot;: {&quot;speed&quot;,
&quot;parity&quot;, &quot;stop_bits&quot;, &quot;units&quot;} или null, &quot;several_settings&quot;, &quot;final&quot;,
&quot;restored&quot;, &quot;detail&quot;}.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is no MAC address (six pairs of hex digits)</source>
        <translation>%1: «%2» — не MAC-адрес (нужны шесть пар шестнадцатеричных цифр)</translation>
    </message>
    <message>
        <source>%1 is a parameter of the module: --set %1=VALUE</source>
        <translation>%1 — параметр модуля, а не опция: --set %1=VALUE</translation>
    </message>
    <message>
        <source>PORT &quot;%1&quot; is not a number 0-65535</source>
        <translation>PORT «%1» — не число 0-65535</translation>
    </message>
</context>
<context>
    <name>cli::ProgressView</name>
    <message>
        <source>the device went away</source>
        <translation>устройство пропало</translation>
    </message>
    <message>
        <source>the device is there again: %1 opened</source>
        <translation>устройство появилось снова: %1 открыт</translation>
    </message>
    <message>
        <source>the module answers again, %1 s after the restart</source>
        <translation>модуль снова ответил через %1 с после перезагрузки</translation>
    </message>
</context>
<context>
    <name>cli::TuneView</name>
    <message>
        <source>try %1 of %2: %3</source>
        <translation>попытка %1 из %2: %3</translation>
    </message>
    <message>
        <source> (about %1 left)</source>
        <translation> (осталось около %1)</translation>
    </message>
    <message>
        <source>putting the module back at %1...
</source>
        <translation>возврат модуля на %1...
</translation>
    </message>
    <message>
        <source>moving the module to %1, the first setting found...
</source>
        <translation>перевод модуля на %1, первый найденный набор...
</translation>
    </message>
</context>
<context>
    <name>language</name>
    <message>
        <source>%1 &quot;%2&quot;: must be en or ru</source>
        <translation>%1 «%2»: должно быть en или ru</translation>
    </message>
</context>
<context>
    <name>modbusreply</name>
    <message>
        <source>its MBAP header has protocol id %1, not 0 (Modbus)</source>
        <translation>в его заголовке MBAP идентификатор протокола %1, а не 0 (Modbus)</translation>
    </message>
    <message>
        <source>it names unit %1, the request unit %2</source>
        <translation>в нём адрес устройства %1, в запросе — %2</translation>
    </message>
    <message>
        <source>it has function code %1, the request %2</source>
        <translation>в нём код функции %1, в запросе — %2</translation>
    </message>
    <message>
        <source>its byte count is %1, the count asked needs %2</source>
        <translation>в нём счётчик байтов %1, а для запрошенного количества нужно %2</translation>
    </message>
    <message>
        <source>it carries %1 bytes of data where it should carry %2</source>
        <translation>в нём %1 байт данных вместо %2</translation>
    </message>
    <message>
        <source>it has transaction id %1, the request %2</source>
        <translation>в нём идентификатор транзакции %1, в запросе — %2</translation>
    </message>
    <message>
        <source>its MBAP header gives a length of %1, which no Modbus frame has</source>
        <translation>в его заголовке MBAP длина %1, какой не бывает у кадра Modbus</translation>
    </message>
</context>
<context>
    <name>proto</name>
    <message>
        <source>one of %1</source>
        <translation>одним из: %1</translation>
    </message>
    <message>
        <source>an IPv4 address (four numbers 0-255 with dots)</source>
        <translation>адресом IPv4 (четыре числа 0-255 через точку)</translation>
    </message>
    <message>
        <source>a number %1-%2</source>
        <translation>числом %1-%2</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 или %2</translation>
    </message>
    <message>
        <source>is read only</source>
        <translation>только для чтения</translation>
    </message>
    <message>
        <source>must be %1</source>
        <translation>должно быть %1</translation>
    </message>
    <message>
        <source>%1: the file&apos;s list position &quot;%2&quot; is none of %3</source>
        <translation>%1: номер в списке «%2» в файле не входит в %3</translation>
    </message>
</context>
<context>
    <name>registermap</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: not KIND:ADDRESS = VALUE...</source>
        <translation>%1: ожидается KIND:ADDRESS = VALUE...</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not KIND:ADDRESS (hr, ir, coil or di, and 0-%3)</source>
        <translation>%1: «%2» — не KIND:ADDRESS (hr, ir, coil или di и адрес 0-%3)</translation>
    </message>
    <message>
        <source>%1: the values must be bits, 0 or 1</source>
        <translation>%1: значения должны быть битами, 0 или 1</translation>
    </message>
    <message>
        <source>%1: the values must be numbers 0-65535 (or 0x0000-0xFFFF)</source>
        <translation>%1: значения должны быть числами 0-65535 (или 0x0000-0xFFFF)</translation>
    </message>
    <message>
        <source>%1: the values go beyond address %2</source>
        <translation>%1: значения выходят за адрес %2</translation>
    </message>
</context>
<context>
    <name>surveyreport</name>
    <message>
        <source>%1 s</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 мин %2 с</translation>
    </message>
    <message>
        <source>unit %1: %2</source>
        <translation>адрес %1: %2</translation>
    </message>
    <message>
        <source>: its own exception, a device is there</source>
        <translation>: его собственное исключение, устройство есть</translation>
    </message>
    <message>
        <source>asked %1 of %2 units, found %3</source>
        <translation>опрошено адресов: %1 из %2, найдено: %3</translation>
    </message>
    <message>
        <source>, about %1 left</source>
        <translation>, осталось около %1</translation>
    </message>
    <message>
        <source>interrupted before the connection
</source>
        <translation>прервано до соединения
</translation>
    </message>
    <message numerus="yes">
        <source>the gateway has no path to %n unit(s) (exception 0x0A): %1; its routing or its own settings, not the devices
</source>
        <translation>
            <numerusform>у шлюза нет пути к %n адресу (исключение 0x0A): %1; дело в его маршрутизации или его собственных параметрах, а не в устройствах
</numerusform>
            <numerusform>у шлюза нет пути к %n адресам (исключение 0x0A): %1; дело в его маршрутизации или его собственных параметрах, а не в устройствах
</numerusform>
            <numerusform>у шлюза нет пути к %n адресам (исключение 0x0A): %1; дело в его маршрутизации или его собственных параметрах, а не в устройствах
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the gateway closed the connection %n time(s); each time it was opened again and the unit whose reply it took asked again
</source>
        <translation>
            <numerusform>шлюз закрыл соединение %n раз; каждый раз оно открывалось снова, а адрес, чей ответ пропал вместе с ним, опрашивался снова
</numerusform>
            <numerusform>шлюз закрыл соединение %n раза; каждый раз оно открывалось снова, а адрес, чей ответ пропал вместе с ним, опрашивался снова
</numerusform>
            <numerusform>шлюз закрыл соединение %n раз; каждый раз оно открывалось снова, а адрес, чей ответ пропал вместе с ним, опрашивался снова
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>found %n device(s): unit(s) %1 (%2 of %3 units asked in %4 s)
</source>
        <translation>
            <numerusform>найдено %n устройство: адрес %1 (опрошено адресов: %2 из %3 за %4 с)
</numerusform>
            <numerusform>найдено %n устройства: адреса %1 (опрошено адресов: %2 из %3 за %4 с)
</numerusform>
            <numerusform>найдено %n устройств: адреса %1 (опрошено адресов: %2 из %3 за %4 с)
</numerusform>
        </translation>
    </message>
    <message>
        <source>no device answered (%1 of %2 units asked in %3 s)
</source>
        <translation>ни одно устройство не ответило (опрошено адресов: %1 из %2 за %3 с)
</translation>
    </message>
    <message>
        <source>interrupted: the units after unit %1 were not asked
</source>
        <translation>прервано: адреса после %1 не опрошены
</translation>
    </message>
    <message>
        <source>  The devices may talk at other line settings (speed, parity, stop bits)
  than the gateway&apos;s: gateway-cli tune tries them (gateway-cli tune --help).
</source>
        <translation>  Устройства могут работать на других параметрах линии (скорость, паритет,
  стоп-биты), чем у шлюза: gateway-cli tune перебирает их (gateway-cli tune --help).
</translation>
    </message>
</context>
<context>
    <name>systemwords</name>
    <message>
        <source>no such port</source>
        <translation>такого порта нет</translation>
    </message>
    <message>
        <source>not a serial port</source>
        <translation>это не последовательный порт</translation>
    </message>
    <message>
        <source>the port is busy with another program, or there is no access to it</source>
        <translation>порт занят другой программой или к нему нет доступа</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>нет такого файла</translation>
    </message>
    <message>
        <source>a folder, not a file</source>
        <translation>это папка, а не файл</translation>
    </message>
    <message>
        <source>no access</source>
        <translation>нет доступа</translation>
    </message>
    <message>
        <source>connection refused</source>
        <translation>соединение отклонено</translation>
    </message>
    <message>
        <source>host not found</source>
        <translation>узел не найден</translation>
    </message>
    <message>
        <source>no answer within the time-out</source>
        <translation>нет ответа за время ожидания</translation>
    </message>
    <message>
        <source>the port is taken by another program</source>
        <translation>порт уже занят другой программой</translation>
    </message>
    <message>
        <source>the address is not one of this PC&apos;s</source>
        <translation>это не адрес этого ПК</translation>
    </message>
    <message>
        <source>no right to this port (ports below 1024 need the administrator&apos;s)</source>
        <translation>нет прав на этот порт (порты ниже 1024 — только с правами администратора)</translation>
    </message>
</context>
<context>
    <name>tunereport</name>
    <message>
        <source>the module&apos;s line settings were not changed: %1
</source>
        <translation>параметры линии модуля не менялись: %1
</translation>
    </message>
    <message>
        <source>the module is left at %1 (read back)
</source>
        <translation>модуль оставлен на %1 (прочитано из модуля)
</translation>
    </message>
    <message>
        <source>the module was put back at %1 (read back)
</source>
        <translation>модуль возвращён на %1 (прочитано из модуля)
</translation>
    </message>
    <message>
        <source>the module could not be put back: it stands at %1 (read back); it was at %2
</source>
        <translation>модуль вернуть не удалось: он на %1 (прочитано из модуля); был на %2
</translation>
    </message>
    <message>
        <source>the module could not be put back and its line settings are not known: it was at %1; write them with gateway-cli write --set speed=... --set parity=... --set stop_bits=...
</source>
        <translation>модуль вернуть не удалось, и его параметры линии неизвестны: он был на %1; запишите их командой gateway-cli write --set speed=... --set parity=... --set stop_bits=...
</translation>
    </message>
    <message numerus="yes">
        <source>%1: module %2, line %3, timeout_response %4 ms; %n setting(s) to try
</source>
        <translation>
            <numerusform>%1: модуль %2, линия %3, timeout_response %4 мс; %n набор для проверки
</numerusform>
            <numerusform>%1: модуль %2, линия %3, timeout_response %4 мс; %n набора для проверки
</numerusform>
            <numerusform>%1: модуль %2, линия %3, timeout_response %4 мс; %n наборов для проверки
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: found %n device(s): unit(s) %2
</source>
        <translation>
            <numerusform>%1: найдено %n устройство: адрес %2
</numerusform>
            <numerusform>%1: найдено %n устройства: адреса %2
</numerusform>
            <numerusform>%1: найдено %n устройств: адреса %2
</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: no device answered (%2 units asked)
</source>
        <translation>%1: ни одно устройство не ответило (опрошено адресов: %2)
</translation>
    </message>
    <message>
        <source>%1: interrupted
</source>
        <translation>%1: прервано
</translation>
    </message>
    <message>
        <source>%1: %2 %3
</source>
        <translation>%1: %2 %3
</translation>
    </message>
    <message>
        <source>interrupted
</source>
        <translation>прервано
</translation>
    </message>
    <message numerus="yes">
        <source>found at %1: %n device(s), unit(s) %2
</source>
        <translation>
            <numerusform>найдено на %1: %n устройство, адрес %2
</numerusform>
            <numerusform>найдено на %1: %n устройства, адреса %2
</numerusform>
            <numerusform>найдено на %1: %n устройств, адреса %2
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>no device answered at the %n setting(s) tried
</source>
        <translation>
            <numerusform>ни одно устройство не ответило на %n проверенном наборе
</numerusform>
            <numerusform>ни одно устройство не ответило на %n проверенных наборах
</numerusform>
            <numerusform>ни одно устройство не ответило на %n проверенных наборах
</numerusform>
        </translation>
    </message>
    <message>
        <source>devices answered at more than one setting: one line carries one setting, so those at the others cannot be reached while the module is at the first
</source>
        <translation>устройства ответили больше чем на одном наборе: линия работает на одном наборе, поэтому устройства на других недоступны, пока модуль на первом
</translation>
    </message>
    <message>
        <source>failed: %1
</source>
        <translation>сбой: %1
</translation>
    </message>
</context>
</TS>
