// Printing: header and footer lines, pages printed to PDF and read back with poppler's tools, the preview's
// pages, the page setup's settings and the printer font.
#include "editor/app/command_ids.h"
#include "editor/app/main_frame.h"
#include "editor/app/the_app.h"
#include "editor/document/pad_doc.h"
#include "editor/document/pad_view.h"
#include "editor/printing/header_footer.h"
#include "editor/printing/print_commands.h"
#include "editor/printing/print_job.h"
#include "platform/settings/private_profile.h"
#include "platform/ui/message_box.h"
#include "services/startup/shared_records.h"
#include "tests/editor/qt_test_app.h"
#include "tests/support/comma_locale.h"
#include "tests/support/temp_folder.h"

#include <QApplication>
#include <QDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <utime.h>

namespace {

namespace fs = std::filesystem;

std::string timeText(const char* pattern, std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char buffer[256];
    return std::string(buffer, std::strftime(buffer, sizeof buffer, pattern, &local));
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> chunk;
        while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
            out.append(chunk.data(), n);
        pclose(pipe);
    }
    return out;
}

std::vector<std::string> splitPages(const std::string& text) {
    std::vector<std::string> pages;
    std::string page;
    for (const char c : text) {
        if (c != '\f') {
            page += c;
            continue;
        }
        pages.push_back(page);
        page.clear();
    }
    return pages;
}

TEST(FormatHeaderFooter, ReplacesTheFirstCodesThenFormatsTheTime) {
    const std::time_t time = 1'000'000'000;
    EXPECT_EQ(FormatHeaderFooter("P:&p le %c &t", time, "C:\\a.txt", "a.txt", 3),
              "P:3 le " + timeText("%c", time) + " a.txt");
    EXPECT_EQ(FormatHeaderFooter("&p/&p &f", time, "", "", 12), "12/&p ");
    EXPECT_EQ(FormatHeaderFooter("no codes", time, "x", "y", 1), "no codes");
    EXPECT_EQ(FormatHeaderFooter("", time, "x", "y", 1), "");
    EXPECT_EQ(FormatHeaderFooter("%Y &t", time, "", "100%d %Y.txt", 1),
              timeText("%Y", time) + " 100%d %Y.txt");
    EXPECT_EQ(FormatHeaderFooter("&t", time, "", std::string(300, 'n'), 1), std::string(127, 'n'));
}

// The height in points of the first word `word` that pdftotext finds in `pdf`; 0 when there is none.
double wordHeight(const std::string& pdf, const std::string& word) {
    const std::string boxes = run("pdftotext -bbox '" + pdf + "' -");
    std::smatch box;
    const std::regex pattern("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">" + word + "<");
    return std::regex_search(boxes, box, pattern) ? std::stod(box[2]) - std::stod(box[1]) : 0;
}

class Printing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::qtApplication(); }
    void SetUp() override {
        unsetenv("ZORTA_PRINTER");
        ::Printing::instance().pageSetup.values = PageSetupValues{};
    }
    void TearDown() override { unsetenv("ZORTA_PRINTER"); }
    void fill(int lines) {
        QString text;
        for (int i = 1; i <= lines; ++i)
            text += QStringLiteral("ligne %1\n").arg(i);
        view.setPlainText(text);
    }
    void pdfPrinter(QPrinter& printer, const std::string& file) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
    }
    PrintedDocument document() { return {view, "", "t", view.font()}; }

    testing_support::TempFolder folder;
    testing_support::ScriptedBoxes boxes;
    QPlainTextEdit view;
};

TEST_F(Printing, PagesCarryTheirHeaderFooterAndRulesAndNothingElse) {
    fill(200);
    PageSetupValues setup;
    setup.footer = "fin de &t";
    const std::time_t now = 1'700'000'000;
    const PrintJob job(setup, "/tmp/listing.txt", "listing.txt", now);
    QPrinter printer(QPrinter::HighResolution);
    const std::string file = folder / "out.pdf";
    pdfPrinter(printer, file);
    const QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    const PageLayout layout = job.layoutFor(printer, *view.document(), font);
    const int h = layout.lineHeight();
    const int linesPerPage = (printer.height() - 2 * (h + 2 * (h / 4))) / h;
    const int expectedPages = (200 + linesPerPage - 1) / linesPerPage;
    ASSERT_GT(expectedPages, 1);
    EXPECT_EQ(layout.pageCount(), expectedPages);

    std::string error;
    ASSERT_TRUE(job.print(printer, *view.document(), font, error)) << error;
    const std::vector<std::string> pages = splitPages(run("pdftotext -layout '" + file + "' -"));
    ASSERT_EQ(static_cast<int>(pages.size()), expectedPages);
    int next = 1;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::istringstream lines(pages[p]);
        std::vector<std::string> text;
        for (std::string line; std::getline(lines, line);)
            if (line.find_first_not_of(' ') != std::string::npos)
                text.push_back(line.substr(line.find_first_not_of(' ')));
        ASSERT_GE(text.size(), 3u);
        EXPECT_EQ(text.front(), "P:" + std::to_string(p + 1) + " le " + timeText("%c", now) + " listing.txt");
        EXPECT_EQ(text.back(), "fin de listing.txt");
        for (std::size_t i = 1; i + 1 < text.size(); ++i)
            EXPECT_EQ(text[i], "ligne " + std::to_string(next++)) << "page " << p + 1;
    }
    EXPECT_EQ(next, 201);

    // The rules: dark rows across the printing area, h + h/4 below its top and above its bottom.
    const int dpi = 144;
    run("pdftoppm -gray -r " + std::to_string(dpi) + " -f 1 -l 1 '" + file + "' '" + folder / "page" + "'");
    std::ifstream raster(folder / "page-1.pgm", std::ios::binary);
    ASSERT_TRUE(raster) << "pdftoppm wrote no raster";
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    raster >> magic >> width >> height >> maxValue;
    raster.get();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height);
    raster.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    const double scale = static_cast<double>(dpi) / printer.resolution();
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    const auto darkRowNear = [&](double deviceY) {
        const int centre = static_cast<int>((area.top() + deviceY) * scale);
        const int left = static_cast<int>(area.left() * scale) + 2;
        const int right = static_cast<int>(area.right() * scale) - 2;
        for (int y = std::max(0, centre - 2); y <= std::min(height - 1, centre + 2); ++y) {
            int dark = 0;
            for (int x = left; x < right; ++x)
                dark += pixels[static_cast<std::size_t>(y) * width + x] < 160;
            if (dark > (right - left) * 95 / 100) return true;
        }
        return false;
    };
    EXPECT_TRUE(darkRowNear(h + h / 4.0));
    EXPECT_TRUE(darkRowNear(printer.height() - (h + h / 4.0)));
    EXPECT_FALSE(darkRowNear(printer.height() / 2.0));
}

TEST_F(Printing, HeaderTimeComesFromTheFileOnlyWhenItHasOne) {
    const std::string dated = folder / "dated.txt";
    std::ofstream(dated) << "x\n";
    utimbuf times{978'350'400, 978'350'400}; // 2001-01-01
    ASSERT_EQ(utime(dated.c_str(), &times), 0);
    PageSetupValues setup;
    setup.header = "%Y";
    setup.headerTime = TimeSource::File;
    const std::time_t now = 1'700'000'000;
    EXPECT_EQ(PrintJob(setup, dated, "dated.txt", now).decorationOf(1).header, "2001");
    EXPECT_EQ(PrintJob(setup, folder / "noextension", "t", now).headerTime(), now);
    EXPECT_EQ(PrintJob(setup, "", "Sans titre", now).headerTime(), now);
    setup.headerTime = TimeSource::System;
    EXPECT_EQ(PrintJob(setup, dated, "dated.txt", now).headerTime(), now);
}

TEST_F(Printing, ACancelledJobStopsAtItsPageAndSaysNothing) {
    fill(400);
    const PrintJob job(PageSetupValues{}, "", "listing.txt", 0);
    QPrinter printer(QPrinter::HighResolution);
    pdfPrinter(printer, folder / "cancelled.pdf");
    std::vector<int> told;
    std::string error;
    EXPECT_FALSE(job.print(printer, *view.document(), view.font(), error, [&](int done, int total) {
        told.push_back(done);
        EXPECT_GT(total, 2);
        return done < 2;
    }));
    EXPECT_EQ(told, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(error.empty()) << error;
}

TEST_F(Printing, AFrenchHeaderPrintsTheLocalesNamesOfDaysAndMonths) {
    if (!testing_support::useCommaLocale(folder.path())) GTEST_SKIP() << "no French locale";
    const std::time_t noon = 1'796'817'600; // 9 December 2026, noon UTC
    PageSetupValues setup;
    setup.header = "le %A %d %B %Y &t";
    const PrintJob job(setup, "", "\xE9t\xE9.txt", noon);
    EXPECT_EQ(job.decorationOf(1).header, "le mercredi 09 d\xE9"
                                          "cembre 2026 \xE9t\xE9.txt");
    fill(1);
    QPrinter printer(QPrinter::HighResolution);
    const std::string file = folder / "fr.pdf";
    pdfPrinter(printer, file);
    std::string error;
    EXPECT_TRUE(job.print(printer, *view.document(), view.font(), error)) << error;
    testing_support::restoreCLocale();
    EXPECT_NE(run("pdftotext '" + file + "' -").find("le mercredi 09 d\u00e9cembre 2026 \u00e9t\u00e9.txt"),
              std::string::npos);
}

TEST_F(Printing, AnEmptyHeaderAndFooterLeaveTheirRoomToTheText) {
    fill(3);
    QPrinter printer(QPrinter::HighResolution);
    pdfPrinter(printer, folder / "bare.pdf");
    PageSetupValues setup;
    setup.header.clear();
    const PageLayout bare = PrintJob(setup, "", "", 0).layoutFor(printer, *view.document(), view.font());
    EXPECT_EQ(bare.textTop(), 0);
    EXPECT_EQ(bare.textBottom(), printer.height());
}

TEST_F(Printing, APdfInAMissingFolderIsAClearMessage) {
    fill(5);
    QPrinter printer(QPrinter::HighResolution);
    pdfPrinter(printer, folder / "missing/out.pdf");
    EXPECT_FALSE(::Printing::instance().print(printer, document()));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("missing"), std::string::npos) << boxes.texts[0];
}

TEST_F(Printing, PrintDirectUsesTheDefaultPdfPrinterOrSaysThereIsNone) {
    fill(10);
    EXPECT_FALSE(::Printing::instance().printDirect(document()));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Device d'imprimante introuvable");
    const std::string file = folder / "direct.pdf";
    setenv("ZORTA_PRINTER", file.c_str(), 1);
    EXPECT_TRUE(::Printing::instance().printDirect(document()));
    EXPECT_NE(run("pdftotext '" + file + "' -").find("ligne 10"), std::string::npos);
}

TEST_F(Printing, PreviewStartsOnTheSelectionsPageAndMovesTheCaretToWhereItEnds) {
    fill(200);
    const int line = 150;
    QTextCursor cursor = view.textCursor();
    cursor.setPosition(view.document()->findBlockByNumber(line - 1).position());
    view.setTextCursor(cursor);
    const std::string file = folder / "preview.pdf";
    setenv("ZORTA_PRINTER", file.c_str(), 1);
    int shownPage = 0;
    int pages = 0;
    ::Printing::instance().preview(document(), [&](QPrintPreviewDialog& dialog) {
        dialog.show();
        auto* widget = dialog.findChild<QPrintPreviewWidget*>();
        for (int i = 0; i < 50 && widget->pageCount() == 0; ++i)
            QApplication::processEvents();
        QApplication::processEvents();
        shownPage = widget->currentPage();
        pages = widget->pageCount();
        widget->setCurrentPage(1);
        dialog.accept();
    });
    ASSERT_GT(pages, 2);
    // The page that holds the line, as the same printer prints it.
    ::Printing::instance().printDirect(document());
    const std::vector<std::string> printed = splitPages(run("pdftotext '" + file + "' -"));
    ASSERT_EQ(static_cast<int>(printed.size()), pages);
    int holding = 0;
    for (std::size_t p = 0; p < printed.size(); ++p)
        if (printed[p].find("ligne " + std::to_string(line) + "\n") != std::string::npos)
            holding = static_cast<int>(p) + 1;
    EXPECT_EQ(shownPage, holding);
    EXPECT_EQ(view.textCursor().position(), 0) << "the preview ended on page 1";
}

TEST_F(Printing, PageSetupWritesItsDefaultsOnceAndThenOnlyWhatChanged) {
    const ProfileFile profile{folder / "pad.ini"};
    CPageSetupDlg setup;
    setup.load(profile);
    EXPECT_EQ(profile.readInt("PageSetup", "Version", 0), 1);
    EXPECT_EQ(profile.readString("PageSetup", "Header", "?"), "P:&p le %c &t");
    EXPECT_EQ(profile.readInt("PageSetup", "HeaderTime", -1), 1);
    // Someone else changes the header meanwhile; only the footer changed here.
    profile.writeString("PageSetup", "Header", "theirs");
    setup.values.footer = "&f";
    setup.values.footerTime = TimeSource::File;
    setup.saveChanged(profile);
    EXPECT_EQ(profile.readString("PageSetup", "Header", "?"), "theirs");
    EXPECT_EQ(profile.readString("PageSetup", "Footer", "?"), "&f");
    EXPECT_EQ(profile.readInt("PageSetup", "FooterTime", -1), 0);
    CPageSetupDlg again;
    again.load(profile);
    EXPECT_EQ(again.values.header, "theirs") << "the defaults are written on the first run only";
}

TEST_F(Printing, PageSetupDialogEditsTheTemplatesAndTimes) {
    CPageSetupDlg setup;
    const auto fillIn = [](bool accept) {
        QTimer::singleShot(0, [accept] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->objectName(), "101");
            dialog->findChild<QLineEdit*>("1002")->setText(QStringLiteral("Page &p \u00e9t\u00e9"));
            dialog->findChild<QLineEdit*>("1003")->setText(QStringLiteral("&f"));
            dialog->findChild<QRadioButton*>("1004")->setChecked(true);
            EXPECT_TRUE(dialog->findChild<QRadioButton*>("1007")->isChecked());
            accept ? dialog->accept() : dialog->reject();
        });
    };
    fillIn(false);
    EXPECT_FALSE(setup.edit(nullptr));
    EXPECT_EQ(setup.values, PageSetupValues{});
    fillIn(true);
    EXPECT_TRUE(setup.edit(nullptr));
    EXPECT_EQ(setup.values.header, "Page &p \xE9t\xE9");
    EXPECT_EQ(setup.values.footer, "&f");
    EXPECT_EQ(setup.values.headerTime, TimeSource::File);
    EXPECT_EQ(setup.values.footerTime, TimeSource::System);
}

TEST_F(Printing, PrinterFontIsChosenOnThePrinterInItsPixels) {
    ::Printing& printing = ::Printing::instance();
    ProfileFont offered;
    int asked = 0;
    printing.setFontChooser([&](const ProfileFont& font, double) {
        ++asked;
        offered = font;
        ProfileFont chosen = font;
        chosen.height = font.height * 2;
        chosen.faceName = "DejaVu Sans Mono";
        return std::optional<ProfileFont>(chosen);
    });
    ProfileFont font;
    printing.choosePrinterFont(font, view.font());
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "Device d'imprimante introuvable");
    EXPECT_EQ(font, ProfileFont{}) << "nothing changed without a printer";

    const std::string file = folder / "font.pdf";
    setenv("ZORTA_PRINTER", file.c_str(), 1);
    QPrinter probe(QPrinter::HighResolution);
    const double ratio = probe.logicalDpiY() / screenDpiY();
    ASSERT_GT(ratio, 1.0);
    font.height = -12;
    font.faceName = "Courier New";
    printing.choosePrinterFont(font, view.font());
    ASSERT_EQ(asked, 1);
    EXPECT_EQ(offered.height, static_cast<int>(std::lround(-12 * ratio)));
    EXPECT_EQ(offered.faceName, "Courier New");
    EXPECT_EQ(font.height, -24);
    EXPECT_EQ(font.faceName, "DejaVu Sans Mono");
    printing.setFontChooser(nullptr);
}

// The commands as the program runs them, with its settings kept in its profile.
class PrintingCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::qtApplication(); }
    PrintingCommands() {
        setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
        setenv("ZORTA_PRINTER", pdf.c_str(), 1);
        app = std::make_unique<CTheApp>();
        EXPECT_TRUE(app->InitInstance({}));
        if (g_pTpadG) *g_pTpadG = Tavropad(0);
    }
    ~PrintingCommands() override {
        unsetenv("ZORTA_PRINTER");
        if (g_pTpadG) *g_pTpadG = Tavropad(0);
        for (CPadView* view : app->views())
            view->padDocument().setAskToSave(0);
        ::Printing::instance().setFontChooser(nullptr);
    }
    CPadView* view() const { return app->mainFrame()->activeView(); }
    std::string printFontHeight() const {
        return platform::profileString(folder / "zorta/ZortaPad.INI", "PrintFont", "Height").value_or("?");
    }

    testing_support::TempFolder folder;
    testing_support::ScriptedBoxes boxes;
    std::string pdf = folder / "direct.pdf";
    std::unique_ptr<CTheApp> app;
};

TEST_F(PrintingCommands, PrinterFontLandsInTheProfileAndSameFontForgetsIt) {
    namespace id = pad_command;
    const double ratio = QPrinter(QPrinter::HighResolution).logicalDpiY() / screenDpiY();
    ::Printing::instance().setFontChooser([ratio](const ProfileFont& font, double) {
        ProfileFont chosen = font;
        chosen.height = -static_cast<int>(std::lround(20 * ratio));
        return std::optional<ProfileFont>(chosen);
    });
    ASSERT_NE(view(), nullptr);
    EXPECT_TRUE(app->routeCommand(id::kSameFontForPrinting, view()));
    EXPECT_TRUE(app->commands().isChecked(id::kSameFontForPrinting, view()));
    EXPECT_FALSE(app->commands().isChecked(id::kPrinterFont, view()));
    app->ExitInstance();
    EXPECT_EQ(printFontHeight(), "0");

    EXPECT_TRUE(app->routeCommand(id::kPrinterFont, view()));
    EXPECT_EQ(app->settings().printFont.height, -20);
    EXPECT_TRUE(app->commands().isChecked(id::kPrinterFont, view()));
    app->ExitInstance();
    EXPECT_EQ(printFontHeight(), "-20");
}

TEST_F(PrintingCommands, ThePrinterFontDialogShowsPointsAndTheChosenSizeIsPrinted) {
    ASSERT_NE(view(), nullptr);
    double offered = 0;
    QTimer::singleShot(0, [&offered] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered = dialog->currentFont().pointSizeF();
        dialog->setCurrentFont(QFont(QStringLiteral("DejaVu Sans Mono"), 24));
        dialog->accept();
    });
    app->routeCommand(pad_command::kPrinterFont, view());
    EXPECT_NEAR(offered, 12 * 72 / screenDpiY(), 0.5) << "the first-run 12 pixels, in points";
    EXPECT_EQ(app->settings().printFont.height, -std::lround(24 * screenDpiY() / 72));
    view()->setPlainText(QStringLiteral("mesure"));
    ::Printing::instance().pageSetup.values.header.clear();
    ASSERT_TRUE(app->routeCommand(pad_command::kPrintDirect, view()));
    const double height = wordHeight(pdf, "mesure");
    EXPECT_GT(height, 24) << "a word of 24 points, its ascent and descent included";
    EXPECT_LT(height, 24 * 1.4);
}

TEST_F(PrintingCommands, PrintDirectWritesTheDocumentWithItsTitleAndPageSetupIsKept) {
    ASSERT_NE(view(), nullptr);
    view()->setPlainText(QStringLiteral("10.5 20.25"));
    ::Printing::instance().pageSetup.values.footer = "fin &t";
    EXPECT_TRUE(app->routeCommand(pad_command::kPrintDirect, view()));
    const std::string text = run("pdftotext '" + pdf + "' -");
    EXPECT_NE(text.find("P:1 le "), std::string::npos) << text;
    EXPECT_NE(text.find("fin Sans titre"), std::string::npos) << text;
    EXPECT_NE(text.find("10.5 20.25"), std::string::npos) << text;
    app->ExitInstance();
    EXPECT_EQ(platform::profileString(folder / "zorta/ZortaPad.INI", "PageSetup", "Footer").value_or("?"),
              "fin &t");
}

} // namespace
