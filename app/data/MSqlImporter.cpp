#include "data/MSqlImporter.h"

#include "data/MDbOpening.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MSqlImport", text);
}

} // namespace

MSqlImporter::Report MSqlImporter::importFile(const QString& path, const QString& tempPath)
{
    Report report;
    report.path = path;
    report.run = MSqlScriptRunner::runImport(path);
    // A run that was rolled back left nothing to repair.
    if (report.run.opened && report.run.committed) {
        report.repair = MDataRepair::run(MDbOpening::dbNumMajor() * 1000 + MDbOpening::dbNumMinor(), tempPath);
        report.repaired = true;
    }
    return report;
}

QString MSqlImporter::Report::message() const
{
    const QString file = QDir::toNativeSeparators(path).toHtmlEscaped();
    if (!run.opened)
        return tr("Nie można otworzyć pliku %1.").arg(file);
    if (!run.committed)
        return tr("Import pliku %1 nie powiódł się. Baza danych nie została zmieniona.<br>Błąd: %2")
            .arg(file, run.firstError.toHtmlEscaped());

    // Only the statements that ran changed the database; when none did, no data was saved.
    const bool nothingStored = run.executed == 0 && run.errors > 0;
    QString text = run.errors == 0 ? tr("Zaimportowano plik %1.").arg(file)
                   : nothingStored ? tr("Z pliku %1 nie zaimportowano żadnych danych.").arg(file)
                                   : tr("Zaimportowano plik %1 z błędami.").arg(file);
    text += QStringLiteral("<br>") + tr("Wykonane polecenia: %1.").arg(run.executed);
    if (run.readingGuessed)
        text += QStringLiteral("<br>") +
                tr("Nie można rozpoznać kodowania znaków pliku; odczytano go jako %1. Sprawdź polskie litery "
                   "zaimportowanych danych.")
                    .arg(run.reading);
    if (run.repeatFailures > 0)
        text += QStringLiteral("<br>") +
                tr("Pominięte polecenia, których dane już są w bazie: %1.").arg(run.repeatFailures);
    if (run.errors > 0)
        text += QStringLiteral("<br>") +
                (nothingStored ? tr("Polecenia zakończone błędem: %1 (pierwszy: %2). Żadne dane nie zostały zapisane.")
                               : tr("Polecenia zakończone błędem: %1 (pierwszy: %2). Pominięto je, pozostałe dane "
                                    "zostały zapisane."))
                    .arg(run.errors)
                    .arg(run.firstError.toHtmlEscaped());
    if (!repair.ok())
        text += QStringLiteral("<br>") +
                tr("Błędy naprawy danych po imporcie: %1 (pierwszy: %2).")
                    .arg(repair.failed)
                    .arg(repair.firstError.toHtmlEscaped());
    return text;
}

MDataMessage MSqlImporter::Report::box() const
{
    MDataMessage::Kind kind = MDataMessage::Kind::Critical;
    if (ok())
        kind = MDataMessage::Kind::Information;
    else if (run.opened && run.committed)
        kind = MDataMessage::Kind::Warning;
    return {kind, tr("Importuj do bazy"), message()};
}
