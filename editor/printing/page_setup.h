#pragma once
// The page setup: header and footer templates and the time each one shows, kept in the profile section
// "PageSetup", with the dialog that edits them.
#include "editor/printing/profile_values.h"

#include <string>

class QWidget;

// Which time a header or footer shows.
enum class TimeSource { File = 0, System = 1 };

struct PageSetupValues {
    std::string header = "P:&p le %c &t";
    std::string footer;
    TimeSource headerTime = TimeSource::System;
    TimeSource footerTime = TimeSource::System;

    bool operator==(const PageSetupValues&) const = default;
};

class CPageSetupDlg {
public:
    static constexpr int kDialogId = 101;
    static constexpr int kHeaderControl = 1002;
    static constexpr int kFooterControl = 1003;
    static constexpr int kHeaderTimeGroup = 1004;
    static constexpr int kFooterTimeGroup = 1006;

    // Reads the section, writing the defaults first on the first run.
    void load(const ProfileFile& profile);
    // Writes the values that changed since they were read.
    void saveChanged(const ProfileFile& profile);
    // The modal dialog; true when it was closed with OK (the values then changed).
    bool edit(QWidget* parent);

    PageSetupValues values;

private:
    PageSetupValues read_;
};
