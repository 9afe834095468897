#include "MTestDatabase.h"

#include "core/MDbOpener.h"

bool MTestDatabase::open(const QString& path)
{
    return MDbOpener::createConnection(path);
}

bool MTestDatabase::openNew(const QString& path)
{
    return open(path) && runSchemaScript();
}
