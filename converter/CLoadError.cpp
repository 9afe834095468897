#include "CLoadError.h"

#include <QCoreApplication>

#include <iterator>

namespace {

const char* const archiveCauses[] = {
    QT_TRANSLATE_NOOP("CLoadError", "Brak błędu."),
    QT_TRANSLATE_NOOP("CLoadError", "Błąd nieokreślony."),
    QT_TRANSLATE_NOOP("CLoadError", "Próba zapisu do archiwum otwartego dla odczytu."),
    QT_TRANSLATE_NOOP("CLoadError", "Osiągnięty koniec pliku podczas odczytu obiektu."),
    QT_TRANSLATE_NOOP("CLoadError", "Próba odczytu z archiwum otwartego dla zapisu."),
    QT_TRANSLATE_NOOP("CLoadError", "Zły format pliku."),
    QT_TRANSLATE_NOOP("CLoadError", "Próba odczytu obiektu do obiektu złego typu."),
    QT_TRANSLATE_NOOP("CLoadError", "Próba odczytu obiektu z inna wersją klasy."),
};

// The file system's causes keep the class library's own English wording.
const char* const fileCauses[] = {
    "No error occurred.",
    "An unspecified error occurred.",
    "The file could not be located.",
    "All or part of the path is invalid.",
    "The permitted number of open files was exceeded.",
    "The file could not be accessed.",
    "There was an attempt to use an invalid file handle.",
    "The current working directory cannot be removed.",
    "There are no more directory entries.",
    "There was an error trying to set the file pointer.",
    "There was a hardware error.",
    "SHARE.EXE was not loaded, or a shared region was locked.",
    "There was an attempt to lock a region that was already locked.",
    "The disk is full.",
    "The end of file was reached.",
};

const char* const memoryCause = "Out of memory.";

template <size_t N>
QString causeText(const char* const (&texts)[N], int cause, bool translated)
{
    if (cause < 0 || cause >= int(std::size(texts)))
        return QCoreApplication::translate("CLoadError", "Błąd nieznany.");
    return translated ? QCoreApplication::translate("CLoadError", texts[cause]) : QString::fromLatin1(texts[cause]);
}

} // namespace

CLoadError::CLoadError(Kind kind, int cause)
    : m_kind(kind)
    , m_cause(cause)
{
}

QString CLoadError::message(const QString& path) const
{
    QString prefix;
    QString cause;
    switch (m_kind) {
    case Archive:
        prefix = QCoreApplication::translate("CLoadError", "Wyjątek CArchiveException.\nBłąd pliku danych: ");
        cause = causeText(archiveCauses, m_cause, true);
        break;
    case File:
        prefix = QCoreApplication::translate("CLoadError", "Wyjątek CFileException.\nBłąd pliku danych: ");
        cause = causeText(fileCauses, m_cause, false);
        break;
    case Memory:
        prefix = QCoreApplication::translate("CLoadError", "Wyjątek CMemoryException.\nBłąd pliku danych: ");
        cause = QString::fromLatin1(memoryCause);
        break;
    }
    return prefix + path + QLatin1String(".\n") + cause;
}
