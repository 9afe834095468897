#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test process a HOME and XDG folders of its own, so that nothing a
// test does can reach the user's files. For tests of the data layer, which
// need no widgets; MTestEnvironment adds the seams of the boxes and dialogs.
class MTestDataEnvironment
{
public:
    MTestDataEnvironment();

    QString home() const;

private:
    QTemporaryDir m_home;
};

// Like QTEST_GUILESS_MAIN, but inside a private HOME made before the application object.
#define INVOICE_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char* argv[])                                                                   \
    {                                                                                                  \
        MTestDataEnvironment environment;                                                              \
        QCoreApplication app(argc, argv);                                                              \
        TestObject test;                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                     \
        return QTest::qExec(&test, argc, argv);                                                        \
    }
