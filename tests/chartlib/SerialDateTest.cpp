#include "ChartTestFixture.h"

#include <array>

// Serial dates, mode 2: days since 1899-12-30, exact to the millisecond.

class SerialDates : public ChartTest {
protected:
    double serial(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
        PETM tm{year - 1900, month, day, hour, minute, second, ms};
        double value = std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(api().PEcreateserialdate(&value, &tm, 2), 1);
        return value;
    }
    static std::array<int, 7> fields(const PETM& t) {
        return {t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute, t.nSecond, t.nMilliSecond};
    }
    std::array<int, 7> decipher(double value) {
        PETM tm;
        EXPECT_EQ(api().PEdecipherserialdate(&value, &tm, 2), 1);
        return fields(tm);
    }
};

TEST_F(SerialDates, KnownDaysHaveTheirNumbers) {
    EXPECT_EQ(serial(1899, 12, 30), 0.0);
    EXPECT_EQ(serial(1900, 1, 1), 2.0);
    EXPECT_EQ(serial(2024, 1, 1), 45292.0);
    EXPECT_EQ(serial(2024, 2, 29, 12), 45351.5);
    EXPECT_EQ(serial(2024, 3, 1), 45352.0) << "29 February counts as a day";
    EXPECT_EQ(serial(1899, 12, 29, 18), -0.25) << "time runs on continuously before the epoch";
}

TEST_F(SerialDates, RoundTripsKeepEveryFieldAndRoundToTheNearestMillisecond) {
    const PETM samples[] = {{124, 2, 29, 23, 59, 59, 999}, {100, 2, 29, 0, 0, 0, 1},
                            {0, 2, 28, 12, 0, 0, 500},     {99, 12, 31, 23, 59, 59, 999},
                            {-1, 12, 30, 0, 0, 0, 0},      {200, 1, 1, 0, 0, 0, 0},
                            {126, 7, 14, 3, 4, 5, 6},      {-1, 12, 29, 6, 30, 0, 250}};
    for (const PETM& in : samples) {
        double value = 0;
        ASSERT_EQ(api().PEcreateserialdate(&value, &in, 2), 1);
        EXPECT_EQ(decipher(value), fields(in));
    }
    for (int ms = 0; ms < 1000; ++ms)
        ASSERT_EQ(decipher(serial(2024, 2, 29, 23, 59, 59, ms)),
                  (std::array<int, 7>{124, 2, 29, 23, 59, 59, ms}));

    const double base = serial(2024, 6, 1, 10, 0, 0, 0);
    const double ms = 1.0 / 86400000.0;
    EXPECT_EQ(decipher(base + 0.4 * ms)[6], 0);
    EXPECT_EQ(decipher(base + 0.6 * ms)[6], 1);
    EXPECT_EQ(decipher(serial(2024, 12, 31, 23, 59, 59, 999) + 0.7 * ms),
              (std::array<int, 7>{125, 1, 1, 0, 0, 0, 0}))
        << "rounding up carries into the next year";
}

TEST_F(SerialDates, InvalidInputIsRefused) {
    double value = 0;
    for (PETM bad : {PETM{123, 2, 29}, PETM{0, 2, 29}, PETM{124, 13, 1}, PETM{124, 0, 1}, PETM{124, 4, 31},
                     PETM{124, 1, 1, 24}, PETM{124, 1, 1, 0, 60}, PETM{124, 1, 1, 0, 0, 60},
                     PETM{124, 1, 1, 0, 0, 0, 1000}, PETM{124, 1, 1, 0, 0, 0, -1}})
        EXPECT_EQ(api().PEcreateserialdate(&value, &bad, 2), 0) << bad.nYear << "-" << bad.nMonth;
    const PETM good{124, 1, 1};
    EXPECT_EQ(api().PEcreateserialdate(&value, &good, 1), 0) << "only mode 2";
    EXPECT_EQ(api().PEcreateserialdate(nullptr, &good, 2), 0);

    PETM tm;
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e12})
        EXPECT_EQ(api().PEdecipherserialdate(&bad, &tm, 2), 0);
}
