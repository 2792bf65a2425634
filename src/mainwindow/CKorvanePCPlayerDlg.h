#pragma once

#include "skin/CDlgFrame.h"

// The viewer's main window.
class CKorvanePCPlayerDlg : public CDlgFrame
{
    Q_OBJECT
public:
    explicit CKorvanePCPlayerDlg(const QString& folderArgument, QWidget* parent = nullptr);

protected:
    void paintClient(QPainter& painter) override;

private:
    QString m_folderArgument;
};
