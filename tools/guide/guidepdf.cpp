// fyl-guidepdf: sets the short guide from its Markdown source and pictures as an A4 PDF. Build-time
// tool over the drawing layer (fyldraw).
//
//   fyl-guidepdf SOURCE.md OUT.pdf PICTUREDIR...
//
// A picture named in the source is looked up in the picture folders in order. Conventions of the
// source: everything before the first "##" heading is the title block; a paragraph that holds only
// pictures is a figure, and an italic paragraph right after it is its caption; "bild.png?mm=45" sets a
// picture's printed width. A heading or a figure never ends a page without what follows it, no
// paragraph leaves a single line behind or ahead, and a table that fits a page is not split.
#include "drawing/painter.h"
#include "frame/errors.h"
#include "frame/files.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextStream>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <vector>

namespace {

// The document is laid out in units of 1/192 inch, independent of any screen: fonts by pixel size,
// margins, pictures and the page itself. The screenshots are taken at twice a 96 dpi screen, so one
// picture pixel is one unit and a window keeps the size the planner knows from the screen, as far
// as the text width allows. The PDF painter scales the units to its own resolution.
constexpr double kUnitsPerInch = 192.0;
constexpr double kMarginMm = 20.0;
constexpr double kBottomMarginMm = 24.0; // the footer lies in the lower margin
const QColor kAccent(58, 88, 116);       // the maker's blue, as in the letterhead logo
const QColor kGrey(90, 90, 90);

double mmToUnits(double mm) {
    return mm / 25.4 * kUnitsPerInch;
}
double ptToUnits(double pt) {
    return pt / 72.0 * kUnitsPerInch;
}
// The layout font of a point size; unhinted, so that its widths scale true to the PDF.
QFont layoutFont(const QString& family, double pointSize) {
    QFont font(family);
    font.setPixelSize(qRound(ptToUnits(pointSize)));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

struct Guide {
    QTextDocument doc;
    QStringList pictureDirs;
    QString family;
    double pageWidth = 0, pageHeight = 0;
};

// A paragraph of pictures only, set side by side.
bool isPicture(const QTextBlock& block) {
    bool any = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.charFormat().isImageFormat())
            any = true;
        else if (!fragment.text().trimmed().isEmpty())
            return false;
    }
    return any;
}

bool isItalicParagraph(const QTextBlock& block) {
    if (block.text().trimmed().isEmpty())
        return false;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (!it.fragment().text().trimmed().isEmpty() && !it.fragment().charFormat().fontItalic())
            return false;
    return true;
}

// Changes the character format of every fragment of a block.
void editFragments(const QTextBlock& block, const std::function<void(QTextCharFormat&)>& edit) {
    std::vector<QTextFragment> fragments;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        fragments.push_back(it.fragment());
    for (const QTextFragment& fragment : fragments) {
        QTextCursor cursor(block);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        QTextCharFormat format = fragment.charFormat();
        edit(format);
        cursor.setCharFormat(format);
    }
}

void setBlockFont(const QTextBlock& block, double pointSize, bool bold, bool italic, const QColor& colour) {
    editFragments(block, [&](QTextCharFormat& format) {
        // The import's relative heading size would win over the size set here.
        format.clearProperty(QTextFormat::FontSizeAdjustment);
        format.setProperty(QTextFormat::FontPixelSize, qRound(ptToUnits(pointSize)));
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(italic);
        format.setForeground(colour);
    });
}

void setSpacing(const QTextBlock& block, double topPt, double bottomPt, Qt::Alignment alignment = {}) {
    QTextCursor cursor(block);
    QTextBlockFormat format = block.blockFormat();
    format.setTopMargin(ptToUnits(topPt));
    format.setBottomMargin(ptToUnits(bottomPt));
    // Text gets some air between its lines; a line of pictures none below it.
    format.setLineHeight(isPicture(block) ? 100 : 118, QTextBlockFormat::ProportionalHeight);
    if (alignment)
        format.setAlignment(alignment);
    cursor.setBlockFormat(format);
}

// The picture at its printed size, loaded from the first picture folder that holds it.
void placePicture(Guide& g, const QTextFragment& fragment) {
    QTextCursor cursor(&g.doc);
    cursor.setPosition(fragment.position());
    cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
    QTextImageFormat format = fragment.charFormat().toImageFormat();
    // "name.png?mm=60": the printed width.
    const QStringList parts = format.name().split(QLatin1Char('?'));
    const QString& name = parts.first();
    QImage image;
    for (const QString& dir : g.pictureDirs)
        if (image.load(QDir(dir).filePath(name)))
            break;
    if (image.isNull())
        throw fyl::FileError(
            QStringLiteral("Das Bild %1 fehlt in %2.").arg(name, g.pictureDirs.join(QLatin1Char(' '))));
    const double textWidth = g.pageWidth - 2 * mmToUnits(kMarginMm);
    double width = image.width();
    static const QRegularExpression mm(QStringLiteral("^mm=(\\d+)$"));
    if (const auto match = mm.match(parts.value(1)); match.hasMatch())
        width = mmToUnits(match.captured(1).toDouble());
    width = std::min(width, textWidth);
    g.doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    format.setWidth(width);
    format.setHeight(width * image.height() / image.width());
    format.setName(name);
    cursor.setCharFormat(format);
}

// Point sizes the import set in the document's units; code spans in the monospaced face of the
// body's family where there is one.
void codeAndSizes(Guide& g) {
    const QString mono = QFontDatabase::families().contains(g.family + QStringLiteral(" Mono"))
                             ? g.family + QStringLiteral(" Mono")
                             : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    for (QTextBlock block = g.doc.begin(); block.isValid(); block = block.next())
        editFragments(block, [&mono](QTextCharFormat& format) {
            if (format.fontFixedPitch())
                format.setFontFamilies(QStringList{mono});
            if (!format.hasProperty(QTextFormat::FontPointSize))
                return;
            format.setProperty(QTextFormat::FontPixelSize, qRound(ptToUnits(format.fontPointSize())));
            format.clearProperty(QTextFormat::FontPointSize);
        });
}

// Fonts, spacing, figures and tables of the whole document.
void style(Guide& g) {
    g.doc.setDefaultFont(layoutFont(g.family, 10));
    codeAndSizes(g);
    bool titleBlock = true;
    for (QTextBlock block = g.doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 2)
            titleBlock = false;
        if (QTextCursor(block).currentTable() != nullptr)
            continue;
        if (isPicture(block)) {
            std::vector<QTextFragment> pictures;
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat())
                    pictures.push_back(it.fragment());
            for (const QTextFragment& picture : pictures)
                placePicture(g, picture);
            setSpacing(block, titleBlock ? 0 : 8, 2, titleBlock ? Qt::AlignRight : Qt::AlignHCenter);
            if (!titleBlock && isItalicParagraph(block.next())) {
                setBlockFont(block.next(), 8.5, false, true, kGrey);
                setSpacing(block.next(), 0, 10, Qt::AlignHCenter);
                block = block.next();
            }
        } else if (level == 1) {
            setBlockFont(block, 26, true, false, kAccent);
            setSpacing(block, 30, 6);
        } else if (level == 2) {
            setBlockFont(block, 15, true, false, kAccent);
            setSpacing(block, 16, 4);
        } else if (level >= 3) {
            setBlockFont(block, 11, true, false, Qt::black);
            setSpacing(block, 10, 2);
        } else if (titleBlock && block.previous().blockFormat().headingLevel() == 1) {
            setBlockFont(block, 15, false, false, kGrey); // the subtitle
            setSpacing(block, 0, 14);
        } else if (titleBlock) {
            setBlockFont(block, 10.5, false, false, QColor(40, 40, 40));
            setSpacing(block, 0, 6);
        } else {
            const bool inList = block.textList() != nullptr && block.next().textList() == block.textList();
            setSpacing(block, 0, inList ? 2 : 6);
        }
    }
    // Tables: thin grey rules and some air in the cells.
    for (QTextFrame* frame : g.doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr)
            continue;
        QTextTableFormat format = table->format();
        format.setBorder(ptToUnits(0.5));
        format.setBorderBrush(QColor(170, 170, 170));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellPadding(ptToUnits(3));
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setTopMargin(ptToUnits(2));
        format.setBottomMargin(ptToUnits(8));
        table->setFormat(format);
    }
}

double lineTop(const Guide& g, const QTextBlock& block, int line) {
    return g.doc.documentLayout()->blockBoundingRect(block).top() + block.layout()->lineAt(line).y();
}

int pageAt(const Guide& g, double y) {
    return static_cast<int>(std::floor(y / g.pageHeight));
}

int pageOf(const Guide& g, const QTextBlock& block, bool lastLine) {
    const int lines = block.layout() != nullptr ? block.layout()->lineCount() : 0;
    if (lines == 0)
        return pageAt(g, g.doc.documentLayout()->blockBoundingRect(block).top());
    return pageAt(g, lineTop(g, block, lastLine ? lines - 1 : 0));
}

// A paragraph broken over two pages with a single line on either of them.
bool leavesALoneLine(const Guide& g, const QTextBlock& block) {
    const int lines = block.layout()->lineCount();
    if (lines < 2 || QTextCursor(block).currentTable() != nullptr)
        return false;
    const int first = pageOf(g, block, false);
    if (first == pageOf(g, block, true))
        return false;
    int onFirst = 0;
    while (onFirst < lines && pageAt(g, lineTop(g, block, onFirst)) == first)
        ++onFirst;
    return onFirst == 1 || onFirst == lines - 1;
}

// What must not be split from what follows moves over to the next page: a heading or a figure left
// alone at the foot of a page, a lone first or last line of a paragraph, a table that would fit a
// page of its own. Every move changes the layout after it, so the search starts again.
void keepTogether(Guide& g) {
    std::set<int> moved;
    const double textHeight = g.pageHeight - mmToUnits(kMarginMm) - mmToUnits(kBottomMarginMm);
    // A heading goes over with what it heads.
    auto breakBefore = [&](QTextBlock block) {
        while (block.previous().isValid() && block.previous().blockFormat().headingLevel() > 0)
            block = block.previous();
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        format.setTopMargin(0);
        cursor.setBlockFormat(format);
        moved.insert(block.position());
    };
    for (int round = 0; round < 100; ++round) {
        bool changed = false;
        for (QTextFrame* frame : g.doc.rootFrame()->childFrames()) {
            auto* table = qobject_cast<QTextTable*>(frame);
            const QRectF box = g.doc.documentLayout()->frameBoundingRect(frame);
            if (table == nullptr || table->format().pageBreakPolicy() != QTextFormat::PageBreak_Auto ||
                pageAt(g, box.top()) == pageAt(g, box.bottom()) || box.height() > textHeight)
                continue;
            const QTextBlock before = table->firstCursorPosition().block().previous();
            if (before.isValid() && before.blockFormat().headingLevel() > 0) {
                if (moved.contains(before.position()))
                    continue;
                breakBefore(before);
            } else {
                QTextTableFormat format = table->format();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                table->setFormat(format);
            }
            changed = true;
            break;
        }
        for (QTextBlock block = g.doc.begin(); block.isValid() && !changed; block = block.next()) {
            if (moved.contains(block.position()))
                continue;
            const QTextBlock next = block.next();
            const bool heading = block.blockFormat().headingLevel() > 0;
            const bool figure = isPicture(block) && isItalicParagraph(next);
            // NOLINTNEXTLINE(bugprone-branch-clone): two reasons for the same page break
            if ((heading || figure) && next.isValid() && pageOf(g, block, true) != pageOf(g, next, false)) {
                breakBefore(block);
                changed = true;
            } else if (!heading && !figure && leavesALoneLine(g, block)) {
                breakBefore(block);
                changed = true;
            }
        }
        if (!changed)
            return;
        // A format change relays only part of the document; the measuring needs all of it.
        g.doc.markContentsDirty(0, g.doc.characterCount());
    }
}

void drawFooter(QPainter& painter, const Guide& g, int page, int pages) {
    const double left = mmToUnits(kMarginMm), right = g.pageWidth - mmToUnits(kMarginMm);
    const double ruleY = g.pageHeight - mmToUnits(kBottomMarginMm) + mmToUnits(6);
    painter.setPen(QPen(QColor(170, 170, 170), ptToUnits(0.5)));
    painter.drawLine(QPointF(left, ruleY), QPointF(right, ruleY));
    painter.setFont(layoutFont(g.family, 8));
    painter.setPen(kGrey);
    const QRectF line(left, ruleY + mmToUnits(1.5), right - left, mmToUnits(5));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("ZELK FYL – Kurzanleitung"));
    painter.drawText(line, Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("Seite %1 von %2").arg(page).arg(pages));
}

QByteArray render(Guide& g) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QStringLiteral("ZELK FYL – Kurzanleitung"));
    writer.setCreator(QStringLiteral("ZELK FYL"));
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    g.pageWidth = mmToUnits(a4.width());
    g.pageHeight = mmToUnits(a4.height());

    g.doc.setDocumentMargin(0);
    style(g);
    QTextFrameFormat root = g.doc.rootFrame()->frameFormat();
    root.setLeftMargin(mmToUnits(kMarginMm));
    root.setRightMargin(mmToUnits(kMarginMm));
    root.setTopMargin(mmToUnits(kMarginMm));
    root.setBottomMargin(mmToUnits(kBottomMarginMm));
    g.doc.rootFrame()->setFrameFormat(root);
    g.doc.setPageSize(QSizeF(g.pageWidth, g.pageHeight));
    keepTogether(g);

    const int pages = g.doc.pageCount();
    QPainter painter(&writer);
    // Screenshots are text: compressed as photographs their letters would blur.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.scale(writer.resolution() / kUnitsPerInch, writer.resolution() / kUnitsPerInch);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -page * g.pageHeight);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * g.pageHeight, g.pageWidth, g.pageHeight);
        g.doc.documentLayout()->draw(&painter, context);
        painter.restore();
        drawFooter(painter, g, page + 1, pages);
    }
    painter.end();
    return buffer.data();
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        err << "usage: fyl-guidepdf SOURCE.md OUT.pdf PICTUREDIR...\n";
        return 2;
    }
    try {
        QFile source(args[1]);
        if (!source.open(QIODevice::ReadOnly))
            throw fyl::FileError(QStringLiteral("Die Quelle %1 kann nicht gelesen werden.").arg(args[1]));
        Guide g;
        g.pictureDirs = args.mid(3);
        g.family = fyl::installedFamily(QStringLiteral("DejaVu Sans"));
        g.doc.setMarkdown(QString::fromUtf8(source.readAll()), QTextDocument::MarkdownDialectGitHub);
        fyl::writeFileAtomically(args[2], render(g), QStringLiteral("Die Kurzanleitung"));
    } catch (const fyl::Error& e) {
        err << "fyl-guidepdf: " << e.message() << "\n";
        return 1;
    }
    return 0;
}
