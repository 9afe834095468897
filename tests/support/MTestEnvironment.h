#pragma once

#include "MTestDataEnvironment.h"

#include <QString>

// MTestDataEnvironment's private HOME, with the message box, file and printer dialog
// seams switched to automatic answers.
class MTestEnvironment
{
public:
    MTestEnvironment();

    QString home() const;

private:
    MTestDataEnvironment m_data;
};

// The message boxes shown since the last call, one "title: text" line each, and forgets them.
QString takeShownTexts();

// Like QTEST_MAIN, but inside a private HOME made before the application object.
// It replaces the data tests' main of MTestDataEnvironment.h with one that has widgets.
#undef INVOICE_TEST_MAIN
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
