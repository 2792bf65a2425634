<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_251">
        <source>It will be saved in KORVANE folder at Desktop</source>
        <translation>デスクトップのKORVANEフォルダに保存されます。</translation>
    </message>
    <message id="str_252">
        <source>If you want to stop, press ESC button.</source>
        <translation>中止するにはESCボタンを押してください。</translation>
    </message>
    <message id="str_259">
        <source>"Recovery of the file was completed." Recovery of the file is under progressing. Please wait a moment.
</source>
        <translation>ファイルの復元が完了しました。</translation>
    </message>
    <message id="str_260">
        <source>Recovery of the file is under progressing. Please wait a moment.</source>
        <translation>ファイルを復元しています。しばらくお待ちください。</translation>
    </message>
    <message id="str_261">
        <source>The file was saved in KORVANE folder at Desktop on the PC because the capacity of SD memory card was full.</source>
        <translation>SDメモリーカードの容量が不足しているため、PCのデスクトップのKORVANEフォルダにファイルを保存しました。</translation>
    </message>
    <message id="str_264">
        <source>Do you want to copy %s file? It will be saved in KORVANE folder at Desktop.</source>
        <translation>%s ファイルをコピーしますか？デスクトップのKORVANEフォルダに保存されます。</translation>
    </message>
    <message id="str_265">
        <source>Do you want to delete %s file?</source>
        <translation>%s ファイルを削除しますか？</translation>
    </message>
    <message id="str_267">
        <source>Do you want to copy %d files? It will be saved in KORVANE folder at Desktop.</source>
        <translation>%d個のファイルをコピーしますか？デスクトップのKORVANEフォルダに保存されます。</translation>
    </message>
    <message id="str_268">
        <source>Do you want to delete %d files?</source>
        <translation>%d個のファイルを削除しますか？</translation>
    </message>
    <message id="str_269">
        <source>There is no Eventfile.</source>
        <translation>イベントファイルがありません。</translation>
    </message>
    <message id="str_270">
        <source>There is no item to copy.</source>
        <translation>コピーする項目がありません。</translation>
    </message>
    <message id="str_271">
        <source>There is no item to delete.</source>
        <translation>削除する項目がありません。</translation>
    </message>
    <message id="str_279">
        <source>This file was damaged. Do you want to recover it?</source>
        <translation>ファイルが破損しています。復元しますか？</translation>
    </message>
    <message id="str_283">
        <source> </source>
        <translation>ファイルの削除が完了しました。</translation>
    </message>
    <message id="str_1400">
        <source>%1 file(s) could not be copied:
%2</source>
        <translation>%1個のファイルをコピーできませんでした:
%2</translation>
    </message>
    <message id="str_1401">
        <source>%1 file(s) could not be deleted and stay in the list:
%2</source>
        <translation>%1個のファイルを削除できなかったため、リストに残しました:
%2</translation>
    </message>
    <message id="str_1402">
        <source>The file could not be recovered and was left as it was.
%1</source>
        <translation>ファイルを復元できませんでした。ファイルは元のまま残っています。
%1</translation>
    </message>
    <message id="str_1403">
        <source>The file could not be recovered completely. The repaired file is at %1, the damaged file at %2.</source>
        <translation>ファイルの復元を完了できませんでした。復元したファイルは %1、破損したファイルは %2 にあります。</translation>
    </message>
</context>
</TS>
