#include "CMirvoleApp.h"

#include <QCoreApplication>

// Converts the old data files in the folder "data" beside the program file into
// mirvole.sql there. Arguments are not used.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return CMirvoleApp(GetDataPath()).Run();
}
