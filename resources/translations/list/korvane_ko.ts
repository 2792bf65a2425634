<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_233">
        <source>mi/h</source>
        <translation>mi/h</translation>
    </message>
    <message id="str_234">
        <source>km/h</source>
        <translation>km/h</translation>
    </message>
</context>
</TS>
