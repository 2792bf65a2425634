<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>korvane</name>
    <message id="str_253">
        <source>If formatting, all of your data stored in SD Card will be erased. It is highly recommemded for you to backup your data before formatting. Recovery (low format) will take more time (approx, 10 minuers for 4G Memory card) than Normal Format.</source>
        <translation>フォーマットすると、SDカードに保存されたすべてのデータが消去されます。フォーマットの前にデータをバックアップしてください。復旧（ローフォーマット）は通常のフォーマットより時間がかかります（4GBのメモリーカードで約10分）。</translation>
    </message>
    <message id="str_254">
        <source>Format complete</source>
        <translation>フォーマットが完了しました。</translation>
    </message>
    <message id="str_255">
        <source>Format failed</source>
        <translation>フォーマットに失敗しました。</translation>
    </message>
    <message id="str_262">
        <source>Formatting: %d%% is under progressing.</source>
        <translation>フォーマット中: %d%% 進行しました。</translation>
    </message>
    <message id="str_263">
        <source> </source>
        <translation>%d%% 検査中です。</translation>
    </message>
    <message id="str_284">
        <source> </source>
        <translation>エラー検査はSDカードのエラーを検査します。読み込み速度検査はSDカードのクラスタごとの読み込み速度を測定します。</translation>
    </message>
    <message id="str_285">
        <source> </source>
        <translation>読み込み速度検査が完了しました。正常に使用できます。</translation>
    </message>
    <message id="str_286">
        <source> </source>
        <translation>読み込み速度の測定に失敗しました。別のUSBポートに接続して再検査してください。再検査でも失敗する場合はSDカードを交換してください。</translation>
    </message>
    <message id="str_287">
        <source> </source>
        <translation>SDカードにエラーは検出されませんでした。エラー検査が完了しました。</translation>
    </message>
    <message id="str_288">
        <source> </source>
        <translation>SDカードにエラーが検出されました。SDカードのフォーマットが必要です。</translation>
    </message>
    <message id="str_289">
        <source> </source>
        <translation>エラー検査に失敗しました。別のUSBポートに接続して再検査してください。再検査でも失敗する場合はSDカードを交換してください。</translation>
    </message>
    <message id="str_293">
        <source> </source>
        <translation>読み込み速度検査が完了しました。全%d個のクラスタのうち、応答の遅いクラスタは%d個です。使い続けると正常に録画できない場合があります。</translation>
    </message>
    <message id="str_1500">
        <source>The camera's settings file (Setup/setup.bin) could not be copied to the PC. If you format now, the camera's settings will be lost. Format anyway?</source>
        <translation>カメラの設定ファイル（Setup/setup.bin）をPCにコピーできませんでした。今フォーマットするとカメラの設定が失われます。それでもフォーマットしますか？</translation>
    </message>
    <message id="str_1501">
        <source>The camera's settings file could not be written back to the SD card. A copy is kept on this PC: %1</source>
        <translation>カメラの設定ファイルをSDカードに書き戻せませんでした。コピーはこのPCに保存されています: %1</translation>
    </message>
    <message id="str_1502">
        <source>The capacity test fills the free space of the SD card with test data, reads it back and removes it. Existing files are not changed. It can take a long time. Start the test?</source>
        <translation>容量検査はSDカードの空き領域を検査用データで埋め、読み戻してから削除します。既存のファイルは変更されません。時間がかかる場合があります。検査を開始しますか？</translation>
    </message>
    <message id="str_1503">
        <source>The capacity test is complete. All %1 tested were stored correctly. Write %2 MB/s, read %3 MB/s.</source>
        <translation>容量検査が完了しました。検査した%1はすべて正しく保存されました。書き込み %2 MB/s、読み込み %3 MB/s。</translation>
    </message>
    <message id="str_1504">
        <source>The capacity test found a problem: of %1 tested, only %2 were stored correctly (%3 overwritten or damaged). This card stores less than it claims; do not record on it.</source>
        <translation>容量検査で問題が見つかりました。検査した%1のうち正しく保存されたのは%2だけです（%3が上書きまたは破損）。このカードは表示より少ない容量しか保存できません。録画に使用しないでください。</translation>
    </message>
    <message id="str_1505">
        <source>The capacity test could not be run: %1</source>
        <translation>容量検査を実行できませんでした: %1</translation>
    </message>
    <message id="str_1506">
        <source>Capacity test...</source>
        <translation>容量検査...</translation>
    </message>
    <message id="str_1507">
        <source>The administrator's password was not given, so nothing was done. The SD card is unchanged.</source>
        <translation>管理者のパスワードが入力されなかったため、何も行いませんでした。SDカードは変更されていません。</translation>
    </message>
    <message id="str_1508">
        <source>This account is not allowed to do this to the SD card, so nothing was done. The SD card is unchanged.</source>
        <translation>このアカウントにはSDカードにこの操作を行う権限がないため、何も行いませんでした。SDカードは変更されていません。</translation>
    </message>
    <message id="str_1509">
        <source>This drive holds %1, more than any SD card. It is not a camera card and is not formatted.</source>
        <translation>このドライブの容量は%1で、どのSDカードよりも大きいです。カメラのカードではないため、フォーマットしません。</translation>
    </message>
    <message id="str_1510">
        <source>This drive holds %1 partitions. It is not a camera card and is not formatted.</source>
        <translation>このドライブには%1個のパーティションがあります。カメラのカードではないため、フォーマットしません。</translation>
    </message>
    <message id="str_1511">
        <source>This card (%1) is too small for a file system the camera can use. It is not formatted.</source>
        <translation>このカード（%1）はカメラが使えるファイルシステムには小さすぎます。フォーマットしません。</translation>
    </message>
    <message id="str_1512">
        <source>This card has no readable file system, so its recordings cannot be opened. Format or check it.</source>
        <translation>このカードには読み取れるファイルシステムがないため、録画ファイルを開けません。フォーマットまたは検査してください。</translation>
    </message>
    <message id="str_1513">
        <source>Drive to format: %1, %2 (%3)</source>
        <translation>フォーマットするドライブ: %1, %2 (%3)</translation>
    </message>
</context>
</TS>
