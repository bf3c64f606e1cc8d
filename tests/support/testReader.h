// The reader the reader tests walk their files with, one for the whole test process.
#ifndef SKERROW_TESTS_SUPPORT_TESTREADER_H
#define SKERROW_TESTS_SUPPORT_TESTREADER_H

#include <ostream>

#include "points/appState.h"
#include "reader/lineReader.h"

inline LineReader g_reader;

inline std::ostream& operator<<(std::ostream& out, LineOutcome outcome) {
    switch (outcome) {
    case LineOutcome::End: return out << "End";
    case LineOutcome::Data: return out << "Data";
    case LineOutcome::Bad: return out << "Bad";
    case LineOutcome::Damaged: return out << "Damaged";
    }
    return out << "?";
}

#endif
