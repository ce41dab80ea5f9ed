#include "common/local_time.h"

namespace ornet5 {

namespace {

using std::chrono::days;
using std::chrono::milliseconds;
using std::chrono::minutes;
using std::chrono::sys_days;

// "2026-12-08T14:03:21.482+03:00"
constexpr std::size_t kTextLength = 29;
// The system clock's nanosecond count reaches from 1677 to 2262.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2200;

void PutDigits(char* out, int value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

// The value of count decimal digits at text[at]; -1 when one is not a digit.
// The caller has checked the text's length.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
        if (digit > 9) {
            return -1;
        }
        value = value * 10 + static_cast<int>(digit);
    }
    return value;
}

bool SeparatorsInPlace(std::string_view text) {
    return text[4] == '-' && text[7] == '-' && text[10] == 'T' && text[13] == ':' &&
           text[16] == ':' && text[19] == '.' && (text[23] == '+' || text[23] == '-') &&
           text[26] == ':';
}

}  // namespace

TCivilTime CivilTime(const TLocalTime& time) {
    const auto local = std::chrono::floor<milliseconds>(time.utc) + time.utcOffset;
    const auto day = std::chrono::floor<days>(local);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss clock{local - day};
    return {static_cast<int>(date.year()),
            static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<int>(clock.seconds().count()),
            static_cast<int>(clock.subseconds().count())};
}

std::string LocalTimeText(const TLocalTime& time) {
    const TCivilTime civil = CivilTime(time);
    std::string text = "0000-00-00T00:00:00.000+00:00";
    PutDigits(&text[0], civil.year, 4);
    PutDigits(&text[5], static_cast<int>(civil.month), 2);
    PutDigits(&text[8], static_cast<int>(civil.day), 2);
    PutDigits(&text[11], civil.hour, 2);
    PutDigits(&text[14], civil.minute, 2);
    PutDigits(&text[17], civil.second, 2);
    PutDigits(&text[20], civil.millisecond, 3);
    const auto offset = time.utcOffset.count();
    const auto magnitude = static_cast<int>(offset < 0 ? -offset : offset);
    text[23] = offset < 0 ? '-' : '+';
    PutDigits(&text[24], magnitude / 60, 2);
    PutDigits(&text[27], magnitude % 60, 2);
    return text;
}

std::optional<TLocalTime> ParseLocalTimeText(std::string_view text) {
    if (text.size() != kTextLength || !SeparatorsInPlace(text)) {
        return std::nullopt;
    }
    const int year = Digits(text, 0, 4);
    const int month = Digits(text, 5, 2);
    const int day = Digits(text, 8, 2);
    const int hour = Digits(text, 11, 2);
    const int minute = Digits(text, 14, 2);
    const int second = Digits(text, 17, 2);
    const int millisecond = Digits(text, 20, 3);
    const int offsetHours = Digits(text, 24, 2);
    const int offsetMinutes = Digits(text, 27, 2);
    const std::chrono::year_month_day date{std::chrono::year{year},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    // A failed digit is -1, which every range check below rejects.
    if (year < kFirstYear || year > kLastYear || !date.ok() || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        offsetHours < 0 || offsetHours > 23 || offsetMinutes < 0 || offsetMinutes > 59) {
        return std::nullopt;
    }
    const minutes offset{(text[23] == '-' ? -1 : 1) * (offsetHours * 60 + offsetMinutes)};
    const auto local = sys_days{date} + std::chrono::hours{hour} + minutes{minute} +
                       std::chrono::seconds{second} + milliseconds{millisecond};
    return TLocalTime{
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(local) - offset, offset};
}

}  // namespace ornet5
