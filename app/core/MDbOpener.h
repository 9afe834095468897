#pragma once

#include "data/MDbOpening.h"

#include <QString>

class QWidget;

// MDbOpening for the main window: the same work, with what it has to tell
// shown in a message box over `parent`.
class MDbOpener
{
public:
    using Outcome = MDbOpening::Outcome;
    using Steps = MDbOpening::Steps;

    // MDbOpening::createConnection, a failure shown in a critical box.
    static bool createConnection(const QString& path);

    static int dbNumMajor() { return MDbOpening::dbNumMajor(); }
    static int dbNumMinor() { return MDbOpening::dbNumMinor(); }
    static int dbCheckNumMajor() { return MDbOpening::dbCheckNumMajor(); }
    static int dbCheckNumMinor() { return MDbOpening::dbCheckNumMinor(); }
    static void cleanDb() { MDbOpening::cleanDb(); }
    static void writeSellerLogos(const QString& pathTemp) { MDbOpening::writeSellerLogos(pathTemp); }

    MDbOpener(QWidget* parent, const QString& pathTemp, const Steps& steps);

    Outcome open();

private:
    QWidget* m_parent;
    MDbOpening m_opening;
};
