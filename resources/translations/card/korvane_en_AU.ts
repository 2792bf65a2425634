<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_AU">
<context>
    <name>korvane</name>
    <message id="str_253">
        <source>If formatting, all of your data stored in SD Card will be erased. It is highly recommemded for you to backup your data before formatting. Recovery (low format) will take more time (approx, 10 minuers for 4G Memory card) than Normal Format.</source>
        <translation>If formatting, all of your data stored in SD Card will be erased. It is highly recommemded for you to backup your data before formatting. Recovery (low format) will take more time (approx, 10 minuers for 4G Memory card) than Normal Format.</translation>
    </message>
    <message id="str_254">
        <source>Format complete</source>
        <translation>Format complete</translation>
    </message>
    <message id="str_255">
        <source>Format failed</source>
        <translation>Format failed</translation>
    </message>
    <message id="str_262">
        <source>Formatting: %d%% is under progressing.</source>
        <translation>Formatting: %d%% is under progressing.</translation>
    </message>
    <message id="str_263">
        <source> </source>
        <translation> </translation>
    </message>
    <message id="str_284">
        <source> </source>
        <translation>The error check looks for errors on the SD card. The read-speed test measures the read speed of each cluster of the SD card.</translation>
    </message>
    <message id="str_285">
        <source> </source>
        <translation>The read-speed test is complete. The card can be used normally.</translation>
    </message>
    <message id="str_286">
        <source> </source>
        <translation>The read-speed measurement failed. Connect the card to another USB port and test again. If it fails again, replace the SD card.</translation>
    </message>
    <message id="str_287">
        <source> </source>
        <translation>No errors were found on the SD card. The error check is complete.</translation>
    </message>
    <message id="str_288">
        <source> </source>
        <translation>Errors were found on the SD card. The SD card needs to be formatted.</translation>
    </message>
    <message id="str_289">
        <source> </source>
        <translation>The error check failed. Connect the card to another USB port and check again. If it fails again, replace the SD card.</translation>
    </message>
    <message id="str_293">
        <source> </source>
        <translation>The read-speed test is complete. Of %d clusters, %d respond slowly. With continued use, recording may fail.</translation>
    </message>
    <message id="str_1500">
        <source>The camera's settings file (Setup/setup.bin) could not be copied to the PC. If you format now, the camera's settings will be lost. Format anyway?</source>
        <translation>The camera's settings file (Setup/setup.bin) could not be copied to the PC. If you format now, the camera's settings will be lost. Format anyway?</translation>
    </message>
    <message id="str_1501">
        <source>The camera's settings file could not be written back to the SD card. A copy is kept on this PC: %1</source>
        <translation>The camera's settings file could not be written back to the SD card. A copy is kept on this PC: %1</translation>
    </message>
    <message id="str_1502">
        <source>The capacity test fills the free space of the SD card with test data, reads it back and removes it. Existing files are not changed. It can take a long time. Start the test?</source>
        <translation>The capacity test fills the free space of the SD card with test data, reads it back and removes it. Existing files are not changed. It can take a long time. Start the test?</translation>
    </message>
    <message id="str_1503">
        <source>The capacity test is complete. All %1 tested were stored correctly. Write %2 MB/s, read %3 MB/s.</source>
        <translation>The capacity test is complete. All %1 tested were stored correctly. Write %2 MB/s, read %3 MB/s.</translation>
    </message>
    <message id="str_1504">
        <source>The capacity test found a problem: of %1 tested, only %2 were stored correctly (%3 overwritten or damaged). This card stores less than it claims; do not record on it.</source>
        <translation>The capacity test found a problem: of %1 tested, only %2 were stored correctly (%3 overwritten or damaged). This card stores less than it claims; do not record on it.</translation>
    </message>
    <message id="str_1505">
        <source>The capacity test could not be run: %1</source>
        <translation>The capacity test could not be run: %1</translation>
    </message>
    <message id="str_1506">
        <source>Capacity test...</source>
        <translation>Capacity test...</translation>
    </message>
    <message id="str_1507">
        <source>The administrator's password was not given, so nothing was done. The SD card is unchanged.</source>
        <translation>The administrator's password was not given, so nothing was done. The SD card is unchanged.</translation>
    </message>
    <message id="str_1508">
        <source>This account is not allowed to do this to the SD card, so nothing was done. The SD card is unchanged.</source>
        <translation>This account is not allowed to do this to the SD card, so nothing was done. The SD card is unchanged.</translation>
    </message>
    <message id="str_1509">
        <source>This drive holds %1, more than any SD card. It is not a camera card and is not formatted.</source>
        <translation>This drive holds %1, more than any SD card. It is not a camera card and is not formatted.</translation>
    </message>
    <message id="str_1510">
        <source>This drive holds %1 partitions. It is not a camera card and is not formatted.</source>
        <translation>This drive holds %1 partitions. It is not a camera card and is not formatted.</translation>
    </message>
    <message id="str_1511">
        <source>This card (%1) is too small for a file system the camera can use. It is not formatted.</source>
        <translation>This card (%1) is too small for a file system the camera can use. It is not formatted.</translation>
    </message>
    <message id="str_1512">
        <source>This card has no readable file system, so its recordings cannot be opened. Format or check it.</source>
        <translation>This card has no readable file system, so its recordings cannot be opened. Format or check it.</translation>
    </message>
    <message id="str_1513">
        <source>Drive to format: %1, %2 (%3)</source>
        <translation>Drive to format: %1, %2 (%3)</translation>
    </message>
</context>
</TS>
