// The staged help pages of every language as the help view reads them: every page reachable
// from the three first pages exists in each language, every link leads to a staged page and an
// anchor that exists, every picture and style sheet exists, no character lacks a glyph, and the
// manual states the figures as docs/figures.md defines them.

#include "app/Tondrela.h"
#include "help/HelpBrowser.h"

#include "TestRuntime.h"

#include <QDir>
#include <QFile>
#include <QGlyphRun>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

const QString kHelp = QStringLiteral(TONDRELA_STAGE_DIR "/HELP");
const QStringList kFirstPages = {"Usage_01.html", "Manual_01.html", "ApgHelp_01.html"};
const QString kFigures = QStringLiteral(TONDRELA_TEST_DATA "/../../docs/figures.md");

// The help view, noting the style sheets a page asks for (absolute paths).
class RecordingBrowser : public CHelpBrowser {
public:
    QStringList styleSheets;

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::StyleSheetResource)
            styleSheets.append(source().resolved(name).toLocalFile());
        return CHelpBrowser::loadResource(type, name);
    }
};

// One page as shown: its links, anchors, pictures and text, laid out 800 pixels wide.
struct Page {
    QStringList links; // as written
    QSet<QString> anchors;
    QStringList pictures; // absolute paths
    QString text;
    std::unique_ptr<RecordingBrowser> view;
};

std::unique_ptr<Page> LoadPage(const QString& path) {
    auto page = std::make_unique<Page>();
    page->view = std::make_unique<RecordingBrowser>();
    page->view->setSource(QUrl::fromLocalFile(path));
    QTextDocument* document = page->view->document();
    document->setTextWidth(800);
    document->size(); // lays the whole page out
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.anchorHref().isEmpty())
                page->links.append(format.anchorHref());
            for (const QString& name : format.anchorNames())
                page->anchors.insert(name);
            if (format.isImageFormat())
                page->pictures.append(QUrl::fromLocalFile(path)
                                          .resolved(format.toImageFormat().name())
                                          .toLocalFile());
        }
    }
    page->text = document->toPlainText();
    return page;
}

// The characters of the page drawn without a glyph (glyph 0), with the text they belong to.
QStringList MissingGlyphs(const QTextDocument& document) {
    QStringList missing;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                continue;
            const int from = fragment.position() - block.position();
            for (int i = 0; i < layout->lineCount(); ++i) {
                for (const QGlyphRun& run : layout->lineAt(i).glyphRuns(from, fragment.length())) {
                    if (run.glyphIndexes().contains(0))
                        missing.append(fragment.text());
                }
            }
        }
    }
    return missing;
}

// The numbers of a text: unsigned, or with the sign written right before them.
std::vector<double> Numbers(const QString& text, bool signedValues) {
    static const QRegularExpression number(QStringLiteral("([-−]?)(\\d+(?:\\.\\d+)?)"));
    std::vector<double> values;
    for (const QRegularExpressionMatch& match : number.globalMatch(text)) {
        const double value = match.captured(2).toDouble();
        values.push_back(signedValues && !match.captured(1).isEmpty() ? -value : value);
    }
    return values;
}

// The rows of every table of the document, each as its signed numbers.
std::set<std::vector<double>> TableRows(QTextFrame* frame) {
    std::set<std::vector<double>> rows;
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            for (int row = 0; row < table->rows(); ++row) {
                std::vector<double> numbers;
                for (int column = 0; column < table->columns(); ++column) {
                    const QTextTableCell cell = table->cellAt(row, column);
                    QTextCursor cursor = cell.firstCursorPosition();
                    cursor.setPosition(cell.lastCursorPosition().position(),
                                       QTextCursor::KeepAnchor);
                    for (double value : Numbers(cursor.selectedText(), true))
                        numbers.push_back(value);
                }
                rows.insert(numbers);
            }
        }
        rows.merge(TableRows(child));
    }
    return rows;
}

struct Figures {
    std::set<double> numbers;              // every number stated, unsigned
    std::vector<std::vector<double>> rows; // the data rows of the all-numeric tables
};

// docs/figures.md: its numbers, and the rows of its tables whose cells after the first are
// plain numbers (the reference values by age decade, the balance types).
Figures ReadFigures() {
    Figures figures;
    QFile file(kFigures);
    if (!file.open(QIODevice::ReadOnly))
        return figures;
    const QString text = QString::fromUtf8(file.readAll());
    for (double value : Numbers(text, false))
        figures.numbers.insert(value);
    static const QRegularExpression plainNumber(QStringLiteral("^[-−]?\\d+(\\.\\d+)?$"));
    std::vector<std::vector<double>> table;
    bool numeric = true;
    int lineInTable = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1Char('|'))) {
            if (lineInTable > 2 && numeric)
                figures.rows.insert(figures.rows.end(), table.begin(), table.end());
            table.clear();
            numeric = true;
            lineInTable = 0;
            continue;
        }
        if (++lineInTable <= 2) // the header and the separator
            continue;
        const QStringList cells = line.split(QLatin1Char('|'), Qt::SkipEmptyParts);
        for (qsizetype i = 1; i < cells.size(); ++i)
            numeric = numeric && plainNumber.match(cells[i].trimmed()).hasMatch();
        table.push_back(Numbers(line, true));
    }
    return figures;
}

} // namespace

class HelpPagesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void EveryPageOfEveryLanguageExistsWithItsLinksPicturesAndGlyphs();
    void ManualStatesTheFiguresOfTheFiguresDocument();

private:
    // language -> page name -> page, for every page reachable from the first pages.
    std::map<int, std::map<QString, std::unique_ptr<Page>>> m_pages;
};

void HelpPagesTest::initTestCase() {
    TheApp().RegisterLanguageTables();
    for (int language = 1; language <= 4; ++language) {
        UseLanguage(language);
        const QDir folder(QStringLiteral("%1/%2").arg(kHelp).arg(language));
        auto& pages = m_pages[language];
        QStringList pending = kFirstPages;
        while (!pending.isEmpty()) {
            const QString name = pending.takeFirst();
            if (pages.count(name) || !folder.exists(name))
                continue;
            pages[name] = LoadPage(folder.filePath(name));
            for (const QString& link : pages[name]->links) {
                const QString target = QUrl(link).path();
                if (!target.isEmpty())
                    pending.append(target);
            }
        }
    }
}

void HelpPagesTest::EveryPageOfEveryLanguageExistsWithItsLinksPicturesAndGlyphs() {
    QSet<QString> english;
    for (const auto& [name, page] : m_pages[2])
        english.insert(name);
    QVERIFY(english.contains("Usage_02.html"));
    for (int language = 1; language <= 4; ++language) {
        const QDir folder(QStringLiteral("%1/%2").arg(kHelp).arg(language));
        const auto& pages = m_pages[language];
        for (const QString& first : kFirstPages)
            QVERIFY2(pages.count(first), qPrintable(folder.filePath(first)));
        QSet<QString> reachable;
        for (const auto& [name, page] : pages)
            reachable.insert(name);
        QCOMPARE(reachable, english); // the same pages in every language
        // Every page of the folder is reached from the first pages.
        const QStringList staged = folder.entryList({"*.html"}, QDir::Files);
        QCOMPARE(QSet<QString>(staged.begin(), staged.end()), reachable);

        for (const auto& [name, page] : pages) {
            const QString where = folder.filePath(name);
            for (const QString& link : page->links) {
                const QUrl url(link);
                QVERIFY2(url.isRelative() && !link.contains(QLatin1Char('/')),
                         qPrintable(where + ": " + link)); // a page of the same folder
                const QString target = url.path().isEmpty() ? name : url.path();
                QVERIFY2(pages.count(target), qPrintable(where + ": " + link));
                if (url.hasFragment())
                    QVERIFY2(pages.at(target)->anchors.contains(url.fragment()),
                             qPrintable(where + ": " + link));
            }
            QVERIFY2(page->anchors.contains(CHelpBrowser::kCancelAnchor), qPrintable(where));
            QVERIFY2(page->links.contains(QStringLiteral("#ButtonCancel")), qPrintable(where));
            for (const QString& picture : page->pictures)
                QVERIFY2(!QImage(picture).isNull(), qPrintable(where + ": " + picture));
            QCOMPARE(page->view->styleSheets, QStringList{folder.filePath("help.css")});
            QVERIFY2(QFile::exists(folder.filePath("help.css")), qPrintable(where));
            const QStringList missing = MissingGlyphs(*page->view->document());
            QVERIFY2(missing.isEmpty(), qPrintable(where + ": " + missing.join(" | ")));
        }
    }
}

void HelpPagesTest::ManualStatesTheFiguresOfTheFiguresDocument() {
    const Figures figures = ReadFigures();
    QVERIFY(figures.rows.size() >= 9 + 3); // nine age decades, three balance rows
    for (int language = 1; language <= 4; ++language) {
        std::set<std::vector<double>> manualRows;
        for (const auto& [name, page] : m_pages[language]) {
            if (!name.startsWith("Manual_"))
                continue;
            const QString where = QStringLiteral("HELP/%1/%2").arg(language).arg(name);
            // A number the manual states that docs/figures.md does not is a disagreement.
            for (double value : Numbers(page->text, false))
                QVERIFY2(figures.numbers.count(value),
                         qPrintable(where + ": " + QString::number(value)));
            manualRows.merge(TableRows(page->view->document()->rootFrame()));
        }
        for (const std::vector<double>& row : figures.rows) {
            QString written;
            for (double value : row)
                written += QString::number(value) + QLatin1Char(' ');
            QVERIFY2(
                manualRows.count(row),
                qPrintable(
                    QStringLiteral("language %1 lacks the row %2").arg(language).arg(written)));
        }
    }
}

QTEST_MAIN(HelpPagesTest)
#include "HelpPages_gui_test.moc"
