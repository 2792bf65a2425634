<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_AU">
<context>
    <name>korvane</name>
    <message id="str_272">
        <source>Select the SD card drive or root folder and press OK button.</source>
        <translation>Select the SD card drive or root folder and press OK button.</translation>
    </message>
    <message id="str_401">
        <source>Brightness Adjustment</source>
        <translation>Brightness Adjustment</translation>
    </message>
    <message id="str_402">
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
    <message id="str_403">
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message id="str_404">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="str_405">
        <source>Copy Eventfiles</source>
        <translation>Copy Eventfiles</translation>
    </message>
    <message id="str_406">
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message id="str_407">
        <source>Open Folder</source>
        <translation>Open Folder</translation>
    </message>
    <message id="str_408">
        <source>List Off</source>
        <translation>List Off</translation>
    </message>
    <message id="str_409">
        <source>List On</source>
        <translation>List On</translation>
    </message>
    <message id="str_410">
        <source> </source>
        <translation> </translation>
    </message>
    <message id="str_411">
        <source>Map Off</source>
        <translation>Map Off</translation>
    </message>
    <message id="str_412">
        <source>Map On</source>
        <translation>Map On</translation>
    </message>
    <message id="str_413">
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message id="str_414">
        <source>Night Vision OFF</source>
        <translation>Night Vision OFF</translation>
    </message>
    <message id="str_415">
        <source>Night Vision ON</source>
        <translation>Night Vision ON</translation>
    </message>
    <message id="str_416">
        <source>Option</source>
        <translation>Option</translation>
    </message>
    <message id="str_417">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="str_418">
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message id="str_419">
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message id="str_420">
        <source>PTZ OFF</source>
        <translation>PTZ OFF</translation>
    </message>
    <message id="str_421">
        <source>PTZ ON</source>
        <translation>PTZ ON</translation>
    </message>
    <message id="str_422">
        <source>Rotate</source>
        <translation>Rotate</translation>
    </message>
    <message id="str_423">
        <source>Backward</source>
        <translation>Backward</translation>
    </message>
    <message id="str_424">
        <source>Open SD Card</source>
        <translation>Open SD Card</translation>
    </message>
    <message id="str_425">
        <source>Play Speed Adjustment</source>
        <translation>Play Speed Adjustment</translation>
    </message>
    <message id="str_426">
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message id="str_427">
        <source>Vol On</source>
        <translation>Vol On</translation>
    </message>
    <message id="str_12900">
        <source>Select the folder</source>
        <translation>Select the folder</translation>
    </message>
    <message id="str_12910">
        <source>Select the Drive</source>
        <translation>Select the Drive</translation>
    </message>
    <message id="str_12920">
        <source>Play Control</source>
        <translation>Play Control</translation>
    </message>
    <message id="str_12930">
        <source>Play / Pause</source>
        <translation>Play / Pause</translation>
    </message>
    <message id="str_12940">
        <source>Backward</source>
        <translation>Backward</translation>
    </message>
    <message id="str_12950">
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message id="str_12960">
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message id="str_12970">
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message id="str_12980">
        <source>Sound</source>
        <translation>Sound</translation>
    </message>
    <message id="str_12990">
        <source>Vol up</source>
        <translation>Vol up</translation>
    </message>
    <message id="str_13000">
        <source>Vol down</source>
        <translation>Vol down</translation>
    </message>
    <message id="str_13010">
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message id="str_13020">
        <source>Save all Eventfiles</source>
        <translation>Save all Eventfiles</translation>
    </message>
    <message id="str_13030">
        <source>Map</source>
        <translation>Map</translation>
    </message>
    <message id="str_13040">
        <source>Google</source>
        <translation>Google</translation>
    </message>
    <message id="str_13050">
        <source>Daum</source>
        <translation>Daum</translation>
    </message>
    <message id="str_13060">
        <source>Naver</source>
        <translation>Naver</translation>
    </message>
    <message id="str_13070">
        <source>Setting</source>
        <translation>Setting</translation>
    </message>
    <message id="str_13080">
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message id="str_1320">
        <source>The SD card or folder is no longer available.</source>
        <translation>The SD card or folder is no longer available.</translation>
    </message>
</context>
</TS>
