<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>korvane</name>
    <message id="str_251">
        <source>It will be saved in KORVANE folder at Desktop</source>
        <translation>바탕화면의 KORVANE 폴더에 저장됩니다.</translation>
    </message>
    <message id="str_252">
        <source>If you want to stop, press ESC button.</source>
        <translation>중지하려면 ESC 버튼을 누르세요.</translation>
    </message>
    <message id="str_259">
        <source>"Recovery of the file was completed." Recovery of the file is under progressing. Please wait a moment.
</source>
        <translation>파일 복원을 완료 하였습니다.</translation>
    </message>
    <message id="str_260">
        <source>Recovery of the file is under progressing. Please wait a moment.</source>
        <translation>파일을 복원하고 있습니다. 잠시만 기다려 주세요.</translation>
    </message>
    <message id="str_261">
        <source>The file was saved in KORVANE folder at Desktop on the PC because the capacity of SD memory card was full.</source>
        <translation>SD 메모리 카드의 용량이 부족하여 PC 바탕화면의 KORVANE 폴더에 파일을 저장하였습니다.</translation>
    </message>
    <message id="str_264">
        <source>Do you want to copy %s file? It will be saved in KORVANE folder at Desktop.</source>
        <translation>%s 파일을 복사하시겠습니까? 바탕화면의 KORVANE 폴더에 저장됩니다.</translation>
    </message>
    <message id="str_265">
        <source>Do you want to delete %s file?</source>
        <translation>%s 파일을 삭제하시겠습니까?</translation>
    </message>
    <message id="str_267">
        <source>Do you want to copy %d files? It will be saved in KORVANE folder at Desktop.</source>
        <translation>%d개의 파일을 복사하시겠습니까? 바탕화면의 KORVANE 폴더에 저장됩니다.</translation>
    </message>
    <message id="str_268">
        <source>Do you want to delete %d files?</source>
        <translation>%d개의 파일을 삭제하시겠습니까?</translation>
    </message>
    <message id="str_269">
        <source>There is no Eventfile.</source>
        <translation>이벤트 파일이 없습니다.</translation>
    </message>
    <message id="str_270">
        <source>There is no item to copy.</source>
        <translation>복사할 항목이 없습니다.</translation>
    </message>
    <message id="str_271">
        <source>There is no item to delete.</source>
        <translation>삭제할 항목이 없습니다.</translation>
    </message>
    <message id="str_279">
        <source>This file was damaged. Do you want to recover it?</source>
        <translation>파일이 손상되었습니다. 복원하시겠습니까?</translation>
    </message>
    <message id="str_283">
        <source> </source>
        <translation>파일 삭제를 완료하였습니다.</translation>
    </message>
    <message id="str_1400">
        <source>%1 file(s) could not be copied:
%2</source>
        <translation>파일 %1개를 복사하지 못했습니다:
%2</translation>
    </message>
    <message id="str_1401">
        <source>%1 file(s) could not be deleted and stay in the list:
%2</source>
        <translation>파일 %1개를 삭제하지 못해 목록에 남겨 두었습니다:
%2</translation>
    </message>
    <message id="str_1402">
        <source>The file could not be recovered and was left as it was.
%1</source>
        <translation>파일을 복원하지 못했습니다. 파일은 원래대로 남아 있습니다.
%1</translation>
    </message>
    <message id="str_1403">
        <source>The file could not be recovered completely. The repaired file is at %1, the damaged file at %2.</source>
        <translation>파일 복원을 끝내지 못했습니다. 복원된 파일은 %1에, 손상된 파일은 %2에 있습니다.</translation>
    </message>
</context>
</TS>
