<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>korvane</name>
    <message id="str_13090">
        <source>An SD card with recordings was inserted (%1). Open it now?</source>
        <translation>An SD card with recordings was inserted (%1). Open it now?</translation>
    </message>
</context>
</TS>
