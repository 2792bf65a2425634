#pragma once

#include <QDialog>

// The viewer's main window.
class CKorvanePCPlayerDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_folderArgument;
};
