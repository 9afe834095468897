#include "MScrambleText.h"

#include <QDateTime>
#include <QRandomGenerator>

namespace {

char checkCharacter(const QByteArray& bytes)
{
    int sum = 0;
    for (char byte : bytes)
        sum += static_cast<unsigned char>(byte);
    return static_cast<char>(sum % 95 + 32);
}

} // namespace

QString scrambleText(QString text)
{
    const QByteArray hex = text.toUtf8().toHex();
    if (hex.isEmpty())
        return QString();

    QRandomGenerator random(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    const int multiplier = static_cast<int>(random.generate() % 85) + 10;
    const int fillerLength = static_cast<int>(random.generate() % 9) + 2;

    QByteArray stored;
    stored.reserve(2 + fillerLength + 2 * hex.size() + 1);
    stored.append(static_cast<char>(multiplier + 32));
    stored.append(static_cast<char>(fillerLength + 64));
    for (int i = 0; i < fillerLength; ++i)
        stored.append(static_cast<char>(random.generate() % 95 + 32));
    for (char h : hex) {
        const int x = (h - 32) * multiplier;
        stored.append(static_cast<char>(x % 95 + 32));
        stored.append(static_cast<char>(x / 95 + 32));
    }
    stored.append(checkCharacter(stored));
    return QString::fromLatin1(stored);
}

QString unscrambleText(QString stored)
{
    const QByteArray bytes = stored.toLatin1();
    if (bytes.size() < 3)
        return QString();
    const int checkPosition = bytes.size() - 1;
    if (bytes.at(checkPosition) != checkCharacter(bytes.left(checkPosition)))
        return QString();

    // A damaged text could still carry a matching check character: refuse
    // a zero multiplier and pairs that run into the check character.
    const int multiplier = static_cast<unsigned char>(bytes.at(0)) - 32;
    const int start = static_cast<unsigned char>(bytes.at(1)) - 62;
    if (multiplier < 1 || start < 2 || start > checkPosition || (checkPosition - start) % 2 != 0)
        return QString();

    QByteArray hex;
    hex.reserve((checkPosition - start) / 2);
    for (int position = start; position < checkPosition; position += 2) {
        const int low = static_cast<unsigned char>(bytes.at(position));
        const int high = static_cast<unsigned char>(bytes.at(position + 1));
        hex.append(static_cast<char>((high * 95 + low - 3072) / multiplier + 32));
    }
    return QString::fromUtf8(QByteArray::fromHex(hex));
}
