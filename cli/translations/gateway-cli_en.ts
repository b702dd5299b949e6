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
</TS>
