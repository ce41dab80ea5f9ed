// ornet5-journal-maker FOLDER [DAYS [THRESHOLD]]
//
// Writes DAYS (default 30) of lifelike journal rows up to now into FOLDER,
// one every 3 s, damaged lines among them: a journal to look at the journal
// window over, and to measure it by. With THRESHOLD (µSv/h) the alarm column
// follows the alarm rule at it. Prints what it wrote.

#include <cstdio>
#include <exception>

#include "common/decimal_text.h"
#include "common/int_text.h"
#include "tools/ornet5-journal-maker/journal_maker.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: ornet5-journal-maker FOLDER [DAYS [THRESHOLD]]\n");
        return 2;
    }
    ornet5::TJournalMakerOptions options;
    options.end = std::chrono::system_clock::now();
    if (argc > 2) {
        const std::optional<std::int32_t> days = ornet5::TryStrToInt(argv[2]);
        if (!days || *days < 1 || *days > 3660) {
            std::fprintf(stderr, "DAYS must be a number from 1 to 3660\n");
            return 2;
        }
        options.length = std::chrono::days(*days);
    }
    if (argc > 3) {
        options.alarmThreshold = ornet5::ParseDecimalText(argv[3]);
        if (!options.alarmThreshold || *options.alarmThreshold <= 0) {
            std::fprintf(stderr, "THRESHOLD must be a positive number of µSv/h\n");
            return 2;
        }
    }
    try {
        const ornet5::TMadeJournal made = ornet5::MakeJournal(argv[1], options);
        std::printf("%zu rows and %zu damaged lines in %zu files\n", made.rows, made.damagedLines,
                    made.files.size());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ornet5-journal-maker: %s\n", error.what());
        return 1;
    }
}
