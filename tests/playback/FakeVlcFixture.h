#pragma once

// The stand-in media library loaded through the real binding from a Library folder laid out like the
// viewer's, with helpers to steer it and read its call log.
#include "app/NotifyEvent.h"
#include "app/ViewerEnvironment.h"
#include "platform/SettingsStore.h"
#include "playback/MediaLibrary.h"
#include "playback/PlayerContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages for texts and lists of texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace fakevlc {

inline const QString kKey = QString::fromLatin1(SettingsStore::kViewerKey);

inline QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "test_media_library_fake";
    static char* argv[] = { name, nullptr };
    static QCoreApplication instance(argc, argv);
    return instance;
}

inline QStringList lines(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Collects the notifications posted to the main window.
class Receiver : public QObject
{
public:
    QList<QPair<int, intptr_t>> received;
    bool event(QEvent* e) override
    {
        if (e->type() == NotifyEvent::eventType()) {
            auto* n = static_cast<NotifyEvent*>(e);
            received.append({ n->code(), n->param() });
            return true;
        }
        return QObject::event(e);
    }
};

class FakeLibraryTest : public ::testing::Test
{
protected:
    QTemporaryDir base;
    QTemporaryDir settingsDir;
    SettingsStore store { settingsDir.path() };
    QString loadedPath;

    void SetUp() override
    {
        app();
        SetMediaLibraryBaseFolder(base.path());
        viewerEnvironment().viewerTier = int(ViewerTier::High);
    }

    void TearDown() override
    {
        UnloadMediaLibrary();
        SetMediaLibraryBaseFolder(QString());
        viewerEnvironment().viewerTier = int(ViewerTier::Mid);
    }

    // Puts a build of the fake in the tier's folder as libvlc.so.
    void install(int tier, const char* build = FAKEVLC_PATH)
    {
        QDir().mkpath(LibraryFolder(tier));
        loadedPath = QDir(LibraryFolder(tier)).filePath(QLatin1String(kFrontLibraryFile));
        QFile::remove(loadedPath);
        ASSERT_TRUE(QFile::copy(QString::fromUtf8(build), loadedPath));
    }

    bool loadAs(int tier, const char* build = FAKEVLC_PATH)
    {
        viewerEnvironment().viewerTier = tier;
        install(tier, build);
        return LoadMediaLibrary();
    }

    template <typename Fn> Fn control(const char* name)
    {
        QLibrary same(loadedPath);
        auto fn = reinterpret_cast<Fn>(same.resolve(name));
        EXPECT_NE(fn, nullptr) << name;
        return fn;
    }

    QStringList calls() { return lines(control<const char* (*)()>("fakevlc_calls")()); }
    void resetFake() { control<void (*)()>("fakevlc_reset")(); }

    // A player created through the binding, with the call log emptied afterwards.
    void createPlayer(PlayerContext& context)
    {
        ASSERT_TRUE(CreateMediaPlayer(context, store));
        resetFake();
    }

    QString existingFile()
    {
        const QString path = base.filePath(QStringLiteral("rec_20120501_123456.avi"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("RIFF");
        return path;
    }
};

} // namespace fakevlc
