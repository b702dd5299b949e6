<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>checkreport</name>
    <message numerus="yes">
        <source>median %1 ms, min %2, max %3, %n round trip(s)</source>
        <translation>
            <numerusform>median %1 ms, min %2, max %3, %n round trip</numerusform>
            <numerusform>median %1 ms, min %2, max %3, %n round trips</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>cli</name>
    <message numerus="yes">
        <source>%1 of %n modules ok</source>
        <translation>
            <numerusform>%1 of %n module ok</numerusform>
            <numerusform>%1 of %n modules ok</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n values differ</source>
        <translation>
            <numerusform>%n value differs</numerusform>
            <numerusform>%n values differ</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n ports have a module</source>
        <translation>
            <numerusform>%1 of %n port has a module</numerusform>
            <numerusform>%1 of %n ports have a module</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n requests served</source>
        <translation>
            <numerusform>%n request served</numerusform>
            <numerusform>%n requests served</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n connections</source>
        <translation>
            <numerusform>%n connection</numerusform>
            <numerusform>%n connections</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n address(es) of the subnet %1/%2 from %3 on, for %4 ports (its network and broadcast addresses and the gateway left out)</source>
        <translation>
            <numerusform>%n address of the subnet %1/%2 from %3 on, for %4 ports (its network and broadcast addresses and the gateway left out)</numerusform>
            <numerusform>%n addresses of the subnet %1/%2 from %3 on, for %4 ports (its network and broadcast addresses and the gateway left out)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n number(s) with dots between them, not four; %1</source>
        <translation>
            <numerusform>%n number with dots between them, not four; %1</numerusform>
            <numerusform>%n numbers with dots between them, not four; %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>surveyreport</name>
    <message numerus="yes">
        <source>the gateway has no path to %n unit(s) (exception 0x0A): %1; its routing or its own settings, not the devices
</source>
        <translation>
            <numerusform>the gateway has no path to %n unit (exception 0x0A): %1; its routing or its own settings, not the devices
</numerusform>
            <numerusform>the gateway has no path to %n units (exception 0x0A): %1; its routing or its own settings, not the devices
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>found %n device(s): unit(s) %1 (%2 of %3 units asked in %4 s)
</source>
        <translation>
            <numerusform>found %n device: unit %1 (%2 of %3 units asked in %4 s)
</numerusform>
            <numerusform>found %n devices: units %1 (%2 of %3 units asked in %4 s)
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>the gateway closed the connection %n time(s); each time it was opened again and the unit whose reply it took asked again
</source>
        <translation>
            <numerusform>the gateway closed the connection once; it was opened again and the unit whose reply it took asked again
</numerusform>
            <numerusform>the gateway closed the connection %n times; each time it was opened again and the unit whose reply it took asked again
</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>tunereport</name>
    <message numerus="yes">
        <source>%1: module %2, line %3, timeout_response %4 ms; %n setting(s) to try
</source>
        <translation>
            <numerusform>%1: module %2, line %3, timeout_response %4 ms; %n setting to try
</numerusform>
            <numerusform>%1: module %2, line %3, timeout_response %4 ms; %n settings to try
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: found %n device(s): unit(s) %2
</source>
        <translation>
            <numerusform>%1: found %n device: unit %2
</numerusform>
            <numerusform>%1: found %n devices: units %2
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>no device answered at the %n setting(s) tried
</source>
        <translation>
            <numerusform>no device answered at the %n setting tried
</numerusform>
            <numerusform>no device answered at the %n settings tried
</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>found at %1: %n device(s), unit(s) %2
</source>
        <translation>
            <numerusform>found at %1: %n device, unit %2
</numerusform>
            <numerusform>found at %1: %n devices, units %2
</numerusform>
        </translation>
    </message>
</context>
</TS>
