#include "editor/printing/page_layout.h"

#include "editor/link/bus_window.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

PageLayout::PageLayout(const QTextDocument& text, const QFont& font, const QPaintDevice& device, int width,
                       int height, bool withHeader, bool withFooter)
    : font_(font, &device), width_(width), height_(height) {
    const QFontMetrics metrics(font_, &device);
    lineHeight_ = std::max(1, metrics.height());
    const int quarter = lineHeight_ / 4;
    textTop_ = withHeader ? lineHeight_ + 2 * quarter : 0;
    textBottom_ = withFooter ? height_ - (lineHeight_ + 2 * quarter) : height_;
    const int linesPerPage = std::max(1, (textBottom_ - textTop_) / lineHeight_);

    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        auto layout = std::make_unique<QTextLayout>(block.text(), font_, &device);
        layout->setTextOption(option);
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine())
            line.setLineWidth(width_);
        layout->endLayout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            if (lines_.size() % static_cast<std::size_t>(linesPerPage) == 0) {
                pageFirstLine_.push_back(static_cast<int>(lines_.size()));
                pageStarts_.push_back(block.position() + layout->lineAt(i).textStart());
            }
            lines_.push_back({layout.get(), i});
        }
        layouts_.push_back(std::move(layout));
    }
    if (pageFirstLine_.empty()) {
        pageFirstLine_.push_back(0);
        pageStarts_.push_back(0);
    }
}

PageLayout::~PageLayout() = default;

int PageLayout::pageOf(int position) const {
    const auto after = std::upper_bound(pageStarts_.begin(), pageStarts_.end(), position);
    return std::max(0, static_cast<int>(after - pageStarts_.begin()) - 1);
}

void PageLayout::paintPage(QPainter& painter, int page, const PageDecoration& decoration) const {
    painter.save();
    painter.setFont(font_);
    painter.setPen(Qt::black);
    const int quarter = lineHeight_ / 4;
    const QTextOption single(Qt::AlignLeft | Qt::AlignTop);
    const auto rule = [&](int y) {
        painter.fillRect(0, y, width_, std::max(1, lineHeight_ / 16), Qt::black);
    };
    if (!decoration.header.empty()) {
        painter.drawText(QRectF(0, 0, width_, lineHeight_), fromCodePage(decoration.header), single);
        rule(lineHeight_ + quarter);
    }
    const int first = pageFirstLine_[static_cast<std::size_t>(page)];
    const int end = page + 1 < pageCount() ? pageFirstLine_[static_cast<std::size_t>(page) + 1]
                                           : static_cast<int>(lines_.size());
    for (int i = first; i < end; ++i) {
        const QTextLine line = lines_[static_cast<std::size_t>(i)].layout->lineAt(
            lines_[static_cast<std::size_t>(i)].lineInLayout);
        line.draw(&painter, QPointF(0, textTop_ + (i - first) * lineHeight_ - line.y()));
    }
    if (!decoration.footer.empty()) {
        painter.drawText(QRectF(0, height_ - lineHeight_, width_, lineHeight_),
                         fromCodePage(decoration.footer), single);
        rule(height_ - (lineHeight_ + quarter));
    }
    painter.restore();
}
