#pragma once

#include <QString>

class RandomSource;

// One random call sign: an optional prefix of one or two letters and "/" (2 in 15), a core of letter-figure-letter
// (4 in 5) or figure-letter-letter, zero, one or two suffix letters (1 in 3 each), and an optional "/M", "/MM" or
// "/P" (1 in 15 each). Upper case, 3 to 11 characters, no space. Draws in the order prefix, core, suffix,
// indicator, each letter or figure when it is written.
QString indicatif(RandomSource& random);
