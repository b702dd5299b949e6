<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>cli</name>
    <message numerus="yes">
        <source>%n ports: the addresses run out at %1</source>
        <translation>
            <numerusform>%n port: the addresses run out at %1</numerusform>
            <numerusform>%n ports: the addresses run out at %1</numerusform>
        </translation>
    </message>
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
</context>
</TS>
