#include "exercise/CallSign.h"

#include "common/RandomSource.h"

#include <cmath>

namespace {

// floor(n * r): one of 0 .. n-1.
int choice(RandomSource& random, int n)
{
    return static_cast<int>(std::floor(n * random.next()));
}

QChar letter(RandomSource& random)
{
    return QChar(u'A' + choice(random, 26));
}

QChar figure(RandomSource& random)
{
    return QChar(u'0' + choice(random, 10));
}

} // namespace

QString indicatif(RandomSource& random)
{
    QString s;
    s.reserve(11);

    const int a = choice(random, 15);
    if (a == 0) {
        s += letter(random);
        s += u'/';
    } else if (a == 1) {
        s += letter(random);
        s += letter(random);
        s += u'/';
    }

    if (choice(random, 5) != 0) {
        s += letter(random);
        s += figure(random);
        s += letter(random);
    } else {
        s += figure(random);
        s += letter(random);
        s += letter(random);
    }

    const int c = choice(random, 3);
    if (c == 0) {
        s += letter(random);
    } else if (c == 1) {
        s += letter(random);
        s += letter(random);
    }

    switch (choice(random, 15)) {
    case 0:
        s += u"/M";
        break;
    case 1:
        s += u"/MM";
        break;
    case 2:
        s += u"/P";
        break;
    default:
        break;
    }
    return s;
}
