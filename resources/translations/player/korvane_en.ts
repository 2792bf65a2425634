<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>korvane</name>
    <message id="str_231">
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message id="str_232">
        <source>Contrast</source>
        <translation>Contrast</translation>
    </message>
    <message id="str_274">
        <source>It was saved in KORVANE folder at Desktop</source>
        <translation>It was saved in KORVANE folder at Desktop</translation>
    </message>
    <message id="str_280">
        <source>There is no item to capture.</source>
        <translation>There is no item to capture.</translation>
    </message>
    <message id="str_290">
        <source>The picture cannot be rotated while PTZ is on.</source>
        <translation>The picture cannot be rotated while PTZ is on.</translation>
    </message>
    <message id="str_930">
        <source>%1 could not be loaded</source>
        <translation>%1 could not be loaded</translation>
    </message>
    <message id="str_931">
        <source>%1 lacks %2</source>
        <translation>%1 lacks %2</translation>
    </message>
    <message id="str_932">
        <source>%1 is not loaded</source>
        <translation>%1 is not loaded</translation>
    </message>
    <message id="str_933">
        <source>libvlc_new failed (the library's plug-ins were not found or an option was refused)</source>
        <translation>libvlc_new failed (the library's plug-ins were not found or an option was refused)</translation>
    </message>
    <message id="str_934">
        <source>libvlc_media_player_new failed</source>
        <translation>libvlc_media_player_new failed</translation>
    </message>
    <message id="str_935">
        <source>libvlc_media_player_event_manager failed</source>
        <translation>libvlc_media_player_event_manager failed</translation>
    </message>
</context>
</TS>
