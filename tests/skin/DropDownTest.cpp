#include <QtTest>
class DropDownTest : public QObject
{
    Q_OBJECT
};
QTEST_MAIN(DropDownTest)
#include "DropDownTest.moc"
