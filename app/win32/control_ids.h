#pragma once

namespace ornet5 {

// Control and command ids of the program's windows; tests find controls by
// them (GetDlgItem) from outside the program.
enum : int {
    kIdLabelTitle = 101,
    kIdLabelDose = 102,

    kIdGroupBox1 = 201,
    kIdComPort = 202,
    kIdComPortSpeed = 203,
    kIdGroupBox2 = 204,
    kIdDeviceAdr = 205,
    kIdZv = 206,
    kIdRentgen = 207,
    kIdStatusBar = 208,

    kIdPanel1 = 301,
    kIdProgramIcon = 302,
    kIdProductName = 303,
    kIdVersion = 304,
    kIdComments = 305,

    kCommandOptionsShow = 401,
    kCommandAbout = 402,
    kCommandJournal = 403,

    kIdPeriodGroup = 501,
    // One per period, in the order of kJournalPeriods.
    kIdPeriodFirst = 502,
    kIdChart = 506,
    kIdSummary = 507,
    kIdAlarmGroup = 508,
    kIdThresholdLabel = 509,
    kIdThreshold = 510,
    kIdThresholdButton = 511,
    kIdAlarmOn = 512,
    kIdAlarmSound = 513,
    kIdAlarmState = 514,
    kIdOpenFolder = 515,
};

}  // namespace ornet5
