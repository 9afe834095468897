#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test process a HOME and XDG folders of its own, so that nothing a
// test does can reach the user's files, and switches the message box and
// file dialog seams to automatic answers.
class MTestEnvironment
{
public:
    MTestEnvironment();

    QString home() const;

private:
    QTemporaryDir m_home;
};

// Like QTEST_MAIN, but inside a private HOME made before the application object.
#define INVOICE_TEST_MAIN(TestObject)                                                                  \
    int main(int argc, char* argv[])                                                                   \
    {                                                                                                  \
        MTestEnvironment environment;                                                                  \
        QApplication app(argc, argv);                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                       \
        TestObject test;                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                     \
        return QTest::qExec(&test, argc, argv);                                                        \
    }
