#pragma once

#include <QString>

// A stored password in printable characters that cannot be read at a glance: a random
// multiplier, random filler, the scrambled hexadecimal UTF-8 bytes and a check character.
// The same text gives a different stored form each time. This hides, it does not encrypt.
QString scrambleText(QString text);

// The text back; empty when `stored` is empty or damaged.
QString unscrambleText(QString stored);
