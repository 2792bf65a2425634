<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>korvane</name>
    <message id="str_251">
        <source>It will be saved in KORVANE folder at Desktop</source>
        <translation>It will be saved in KORVANE folder at Desktop</translation>
    </message>
    <message id="str_252">
        <source>If you want to stop, press ESC button.</source>
        <translation>If you want to stop, press ESC button.</translation>
    </message>
    <message id="str_259">
        <source>"Recovery of the file was completed." Recovery of the file is under progressing. Please wait a moment.
</source>
        <translation>"Recovery of the file was completed." Recovery of the file is under progressing. Please wait a moment.
</translation>
    </message>
    <message id="str_260">
        <source>Recovery of the file is under progressing. Please wait a moment.</source>
        <translation>Recovery of the file is under progressing. Please wait a moment.</translation>
    </message>
    <message id="str_261">
        <source>The file was saved in KORVANE folder at Desktop on the PC because the capacity of SD memory card was full.</source>
        <translation>The file was saved in KORVANE folder at Desktop on the PC because the capacity of SD memory card was full.</translation>
    </message>
    <message id="str_264">
        <source>Do you want to copy %s file? It will be saved in KORVANE folder at Desktop.</source>
        <translation>Do you want to copy %s file? It will be saved in KORVANE folder at Desktop.</translation>
    </message>
    <message id="str_265">
        <source>Do you want to delete %s file?</source>
        <translation>Do you want to delete %s file?</translation>
    </message>
    <message id="str_267">
        <source>Do you want to copy %d files? It will be saved in KORVANE folder at Desktop.</source>
        <translation>Do you want to copy %d files? It will be saved in KORVANE folder at Desktop.</translation>
    </message>
    <message id="str_268">
        <source>Do you want to delete %d files?</source>
        <translation>Do you want to delete %d files?</translation>
    </message>
    <message id="str_269">
        <source>There is no Eventfile.</source>
        <translation>There is no Eventfile.</translation>
    </message>
    <message id="str_270">
        <source>There is no item to copy.</source>
        <translation>There is no item to copy.</translation>
    </message>
    <message id="str_271">
        <source>There is no item to delete.</source>
        <translation>There is no item to delete.</translation>
    </message>
    <message id="str_279">
        <source>This file was damaged. Do you want to recover it?</source>
        <translation>This file was damaged. Do you want to recover it?</translation>
    </message>
    <message id="str_283">
        <source> </source>
        <translation> </translation>
    </message>
    <message id="str_1400">
        <source>%1 file(s) could not be copied:
%2</source>
        <translation>%1 file(s) could not be copied:
%2</translation>
    </message>
    <message id="str_1401">
        <source>%1 file(s) could not be deleted and stay in the list:
%2</source>
        <translation>%1 file(s) could not be deleted and stay in the list:
%2</translation>
    </message>
    <message id="str_1402">
        <source>The file could not be recovered and was left as it was.
%1</source>
        <translation>The file could not be recovered and was left as it was.
%1</translation>
    </message>
    <message id="str_1403">
        <source>The file could not be recovered completely. The repaired file is at %1, the damaged file at %2.</source>
        <translation>The file could not be recovered completely. The repaired file is at %1, the damaged file at %2.</translation>
    </message>
</context>
</TS>
