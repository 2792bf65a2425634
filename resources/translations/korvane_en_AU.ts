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
        <source>&amp;Restore</source>
        <translation>&amp;Restore</translation>
    </message>
    <message id="str_901">
        <source>&amp;Move</source>
        <translation>&amp;Move</translation>
    </message>
    <message id="str_902">
        <source>&amp;Size</source>
        <translation>&amp;Size</translation>
    </message>
    <message id="str_903">
        <source>Mi&amp;nimize</source>
        <translation>Mi&amp;nimise</translation>
    </message>
    <message id="str_904">
        <source>Ma&amp;ximize</source>
        <translation>Ma&amp;ximise</translation>
    </message>
    <message id="str_905">
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message id="str_910">
        <source>Video playback is not available: %1. The recordings can still be listed, copied and backed up.</source>
        <translation>Video playback is not available: %1. The recordings can still be listed, copied and backed up.</translation>
    </message>
</context>
</TS>
