#pragma once
// Printed pages of a text: its lines wrapped to the printing area's width and cut into pages, each with a
// header at the top-left and a footer at the bottom, both set apart from the text by a rule.
//
// With line height h: the header sits at the top, its rule h + h/4 below the top and the text h/4 below the
// rule; the footer's line sits h above the bottom, its rule h + h/4 above the bottom, and the text ends
// h + 2 (h/4) above the bottom. An empty header or footer leaves its room to the text.
#include <QFont>
#include <QTextLayout>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPaintDevice;
class QTextDocument;

struct PageDecoration {
    std::string header; // code-page text
    std::string footer;
};

class PageLayout {
public:
    // Lays `text` out in `font` for `device`, whose printing area is `width` x `height` device pixels; the
    // header and the footer take room when `withHeader` / `withFooter`.
    PageLayout(const QTextDocument& text, const QFont& font, const QPaintDevice& device, int width,
               int height, bool withHeader, bool withFooter);
    ~PageLayout();

    int pageCount() const { return static_cast<int>(pageFirstLine_.size()); }
    int lineHeight() const { return lineHeight_; }
    // The document position where each page's text begins.
    const std::vector<int>& pageStarts() const { return pageStarts_; }
    // The page (0-based) that holds document position `position`.
    int pageOf(int position) const;
    // Where the text of a page starts and ends, from the top of the printing area.
    int textTop() const { return textTop_; }
    int textBottom() const { return textBottom_; }

    // Paints page `page` (0-based) with its header and footer.
    void paintPage(QPainter& painter, int page, const PageDecoration& decoration) const;

private:
    struct PrintedLine {
        const QTextLayout* layout;
        int lineInLayout;
    };

    QFont font_;
    int width_;
    int height_;
    int lineHeight_;
    int textTop_;
    int textBottom_;
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
    std::vector<PrintedLine> lines_;
    std::vector<int> pageFirstLine_;
    std::vector<int> pageStarts_;
};
