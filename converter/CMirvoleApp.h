#pragma once

#include <QString>

// The folder of the program file and the data folder beside it, each ending
// with a separator.
QString GetModulePath();
QString GetDataPath();

// One conversion: reads the old data files of a data folder and writes
// mirvole.sql into the same folder.
class CMirvoleApp
{
public:
    enum ExitCode {
        Converted = 0,
        OutputFailed = 2,
    };

    explicit CMirvoleApp(const QString& dataPath);

    ExitCode Run();

private:
    QString m_dataPath;
};
