<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_13090">
        <source>An SD card with recordings was inserted (%1). Open it now?</source>
        <translation>録画のある SD カードが挿入されました (%1)。今すぐ開きますか?</translation>
    </message>
</context>
</TS>
