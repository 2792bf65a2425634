#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <vector>

// korvane-cli commands register themselves; each prints one JSON document on stdout, diagnostics as one
// line on stderr, and returns 0 (done), 1 (failed) or 2 (usage error).
struct CliCommand
{
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
    // Drawing text (the evidence report) needs the GUI application object; the CLI never opens a window, so
    // it runs on the offscreen platform.
    bool needsGui = false;
};

namespace cli {

inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

std::vector<CliCommand>& registry();
bool add(const CliCommand& command);

// Prints the document compactly with a trailing newline.
void printJson(const QJsonObject& object);
// One line on stderr.
void diagnostic(const QString& message);
// Reports a usage error for a command and returns kUsage.
int usageError(const CliCommand& command, const QString& message);

} // namespace cli

#define KORVANE_CLI_COMMAND(ident, name, usage, fn) \
    static const bool korvaneCliRegistered_##ident = ::cli::add(CliCommand{name, usage, fn})
#define KORVANE_CLI_GUI_COMMAND(ident, name, usage, fn) \
    static const bool korvaneCliRegistered_##ident = ::cli::add(CliCommand{name, usage, fn, true})
