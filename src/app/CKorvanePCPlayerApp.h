#pragma once

#include <QApplication>
#include <memory>

class SingleInstance;
class CKorvanePCPlayerDlg;

// The application object: static environment, skin module, string table, the single-instance rule and
// the main window, in that order.
class CKorvanePCPlayerApp : public QApplication
{
    Q_OBJECT
public:
    static constexpr const char* kInstanceName = "Korvane PC Player";

    CKorvanePCPlayerApp(int& argc, char** argv);
    ~CKorvanePCPlayerApp() override;

    // Runs the main window until it closes; returns the process exit code.
    int InitInstance();
    void ExitInstance();

    // A folder named on the command line opens instead of the first removable card.
    QString folderArgument() const { return m_folderArgument; }

private:
    bool claimSingleInstance();
    void raiseMainWindow();

    SingleInstance* m_instance = nullptr;
    std::unique_ptr<CKorvanePCPlayerDlg> m_mainWindow;
    QString m_folderArgument;
};
