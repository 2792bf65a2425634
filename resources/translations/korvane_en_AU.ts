<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_AU">
<context>
    <name>korvane</name>
    <message id="str_256">
        <source>You must select one SD Card.</source>
        <translation>You must select one SD Card.</translation>
    </message>
    <message id="str_257">
        <source>Selete SD Card</source>
        <translation>Selete SD Card</translation>
    </message>
    <message id="str_900">
        <source>Video playback is not available: %1. The recordings can still be listed, copied and backed up.</source>
        <translation>Video playback is not available: %1. The recordings can still be listed, copied and backed up.</translation>
    </message>
</context>
</TS>
