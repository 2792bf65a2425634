// The single-instance rule across real processes: this executable starts copies of itself that each
// claim the rule and report what they became.
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

constexpr const char* kChildFlag = "--claim";
const QString kName = QStringLiteral("Korvane PC Player test");

// Child: claim, print "first" or "later", stay alive long enough for the others to overlap, and print
// "raised" when a later instance asked this one to come forward.
int runChild(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SingleInstance instance(kName);
    instance.setRaiseHandler([] {
        std::printf("raised\n");
        std::fflush(stdout);
    });
    const bool first = instance.claim();
    std::printf("%s\n", first ? "first" : "later");
    std::fflush(stdout);
    const int holdMs = argc > 2 ? QByteArray(argv[2]).toInt() : 1500;
    QTimer::singleShot(holdMs, &app, &QCoreApplication::quit);
    return app.exec();
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_tmp;

    QProcess* startChild(int holdMs, QObject* owner)
    {
        auto* p = new QProcess(owner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), m_tmp.path()); // lock and socket stay inside this test
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(),
            { QString::fromLatin1(kChildFlag), QString::number(holdMs) });
        return p;
    }

    static QString output(QProcess* p)
    {
        p->waitForFinished(15000);
        return QString::fromLatin1(p->readAllStandardOutput());
    }

private Q_SLOTS:
    void processesStartedTogetherHaveExactlyOneFirst()
    {
        QVERIFY(m_tmp.isValid());
        for (int round = 0; round < 4; ++round) {
            QObject owner;
            QList<QProcess*> children;
            for (int i = 0; i < 4; ++i)
                children << startChild(1500, &owner);
            int firsts = 0;
            int laters = 0;
            for (QProcess* p : children) {
                const QString out = output(p);
                firsts += out.contains(QStringLiteral("first"));
                laters += out.contains(QStringLiteral("later"));
            }
            QCOMPARE(firsts, 1);
            QCOMPARE(laters, 3);
        }
    }

    void laterInstanceAsksTheFirstToComeForward()
    {
        QObject owner;
        QProcess* first = startChild(3000, &owner);
        QVERIFY(first->waitForReadyRead(10000));
        QCOMPARE(first->readLine().trimmed(), QByteArray("first"));
        QProcess* later = startChild(100, &owner);
        QVERIFY(output(later).contains(QStringLiteral("later")));
        QVERIFY(output(first).contains(QStringLiteral("raised")));
    }

    void firstInstanceThatDiedLeavesNoLock()
    {
        QObject owner;
        QProcess* first = startChild(30000, &owner);
        QVERIFY(first->waitForReadyRead(10000));
        QCOMPARE(first->readLine().trimmed(), QByteArray("first"));
        first->kill(); // no clean-up: lock file and socket name stay behind
        first->waitForFinished(5000);
        QProcess* next = startChild(100, &owner);
        QVERIFY(output(next).contains(QStringLiteral("first")));
    }
};

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == kChildFlag)
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SingleInstanceTest.moc"
