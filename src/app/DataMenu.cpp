#include "app/DataMenu.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>

#include <cstring>
#include <limits>

#include "app/CMainFrame.h"
#include "app/CanvasPainter.h"
#include "data/FieldTemplate.h"
#include "data/MergeOutput.h"
#include "data/SourceFile.h"
#include "dialogs/ContentEdit.h"
#include "model/TextCodec.h"
#include "print/CupsPrinterConfig.h"
#include "print/CupsSpooler.h"
#include "print/PrintLabel.h"
#include "render/ElementRenderer.h"
#include "res/UiText.h"

namespace etiqo {

CDataMenu::CDataMenu(CMainFrame& frame)
    : QObject(&frame), m_frame(frame), m_menu(new QMenu(UiText(TextId::DataMenuTitle), frame.menuBar())) {
    // Before Help, which stays last.
    const QList<QAction*> titles = frame.menuBar()->actions();
    frame.menuBar()->insertMenu(titles.isEmpty() ? nullptr : titles.back(), m_menu);
    m_menu->setObjectName(QStringLiteral("dataMenu"));
    m_menu->addAction(UiText(TextId::DataAttachFile), this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(&m_frame, QString(), QString(), UiText(TextId::DataFileFilter));
        if (!path.isEmpty()) {
            AttachFile(path);
        }
    });
    m_menu->addAction(UiText(TextId::DataAttachServer), this, [this] {
        bool ok = false;
        const QString connection = QInputDialog::getText(
            &m_frame, UiText(TextId::DataMenuTitle).section('(', 0, 0), UiText(TextId::DataServerPrompt),
            QLineEdit::Normal, QStringLiteral("postgresql://"), &ok);
        if (ok && !connection.trimmed().isEmpty()) {
            AttachServer(connection.trimmed());
        }
    });
    m_rows = m_menu->addAction(UiText(TextId::DataChooseRows), this, [this] {
        bool ok = false;
        const QString rows = QInputDialog::getText(
            &m_frame, UiText(TextId::DataMenuTitle).section('(', 0, 0), UiText(TextId::DataRowsPrompt),
            QLineEdit::Normal,
            QString::fromStdString(m_choice && !m_choice->query.empty() ? m_choice->query
                                   : m_choice                           ? m_choice->table
                                                                        : ""),
            &ok);
        if (ok && !rows.trimmed().isEmpty()) {
            ChooseRows(rows.trimmed());
        }
    });
    m_detach = m_menu->addAction(UiText(TextId::DataDetach), this, &CDataMenu::Detach);
    m_menu->addSeparator();
    const TextId steps[] = {TextId::DataFirst, TextId::DataPrevious, TextId::DataNext, TextId::DataLast};
    const QKeySequence keys[] = {QKeySequence(Qt::ALT | Qt::Key_Home), QKeySequence(Qt::ALT | Qt::Key_PageUp),
                                 QKeySequence(Qt::ALT | Qt::Key_PageDown),
                                 QKeySequence(Qt::ALT | Qt::Key_End)};
    for (int i = 0; i < 4; ++i) {
        m_steps[i] = m_menu->addAction(UiText(steps[i]), this, [this, i] {
            const long targets[] = {1, m_record - 1, m_record + 1, std::numeric_limits<long>::max()};
            ShowRecord(targets[i]);
        });
        m_steps[i]->setShortcut(keys[i]);
    }
    m_fill = [this](Element& shown) { return Fill(shown); };
    connect(m_menu, &QMenu::aboutToShow, this, &CDataMenu::Sync);
    connect(&m_frame.m_wndCanvas, &CLabelCanvas::placementChanged, this, &CDataMenu::Sync);

    m_status = new QLabel(&m_frame.m_wndStatusBar);
    m_status->setObjectName(QStringLiteral("dataRecord"));
    m_frame.m_wndStatusBar.addPermanentWidget(m_status);
    Refresh();
}

void CDataMenu::Tell(const QString& message) {
    QMessageBox::warning(&m_frame, m_frame.windowTitle(), message);
}

// A label opened, saved under a new name or made new brings its own side file (or none).
void CDataMenu::Sync() {
    const std::string file = m_frame.m_wndCanvas.GetLabel().m_strFileName;
    if (file == m_labelFile) {
        return;
    }
    m_labelFile = file;
    const std::optional<SourceChoice> remembered = file.empty() ? std::nullopt : ReadSourceFile(file);
    if (remembered) {
        Use(*remembered, false);
    } else {
        m_choice.reset();
        m_record = 0;
        Refresh();
    }
}

void CDataMenu::AttachFile(const QString& path) {
    Sync();
    SourceChoice choice = SourceChoiceFor(path.toStdString());
    if (choice.kind == SourceKind::Sqlite) {
        choice.table = m_choice && m_choice->location == choice.location ? m_choice->table : std::string();
    }
    Use(choice, true);
}

void CDataMenu::AttachServer(const QString& connection) {
    Sync();
    Use(SourceChoiceFor(connection.toStdString()), true);
}

void CDataMenu::ChooseRows(const QString& tableOrQuery) {
    if (!m_choice) {
        return;
    }
    SourceChoice choice = *m_choice;
    static const QRegularExpression query(QStringLiteral("^\\s*(select|with)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    choice.query = query.match(tableOrQuery).hasMatch() ? tableOrQuery.toStdString() : std::string();
    choice.table = choice.query.empty() ? tableOrQuery.toStdString() : std::string();
    Use(choice, true);
}

void CDataMenu::Detach() {
    Sync();
    if (!m_labelFile.empty()) {
        RemoveSourceFile(m_labelFile);
    }
    m_choice.reset();
    m_record = 0;
    Refresh();
}

// Takes the source (remembered beside the label when it has a file) and shows its first record.
void CDataMenu::Use(const SourceChoice& choice, bool remember) {
    m_choice = choice;
    m_record = 0;
    if (remember && !m_labelFile.empty()) {
        WriteSourceFile(m_labelFile, choice);
    }
    const bool needsRows = (choice.kind == SourceKind::Sqlite || choice.kind == SourceKind::Sql) &&
                           choice.table.empty() && choice.query.empty();
    if (!needsRows) {
        ShowRecord(1);
    }
    Refresh();
}

void CDataMenu::ShowRecord(long n) {
    if (!m_choice || n < 1) {
        return;
    }
    std::string error;
    std::unique_ptr<DataSource> source = OpenDataSource(*m_choice, error);
    if (!source && m_choice->kind == SourceKind::Sql && error.find("password") != std::string::npos) {
        // Asked for, used for this session only: never written anywhere.
        bool ok = false;
        const QString password = QInputDialog::getText(
            &m_frame, m_frame.windowTitle(),
            UiText(TextId::DataPasswordPrompt).arg(QString::fromStdString(m_choice->location)),
            QLineEdit::Password, QString(), &ok);
        if (ok) {
            qputenv(m_choice->location.starts_with("odbc:") ? "ODBC_PASSWORD" : "PGPASSWORD",
                    password.toUtf8());
            source = OpenDataSource(*m_choice, error);
        }
    }
    if (!source) {
        Tell(QString::fromStdString(error));
        m_record = 0;
        Refresh();
        return;
    }
    m_columns = source->Columns();
    m_index.clear();
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        m_index.emplace(m_columns[i], static_cast<int>(i));
    }
    // Sources are read forward only: step from the first record to the one asked for (the last
    // one there is when it lies beyond).
    std::vector<std::string> values;
    long read = 0;
    while (read < n && source->Next(values)) {
        ++read;
        m_values = values;
    }
    m_record = read;
    Refresh();
}

bool CDataMenu::PrintRecords(std::string printer, int copies) {
    Sync();
    if (!m_choice) {
        return false;
    }
    if (printer.empty() && !AskPrinterAndCopies(&m_frame, printer, copies)) {
        return true;
    }
    SourceChoice choice = *m_choice;
    choice.copies = std::max(1, copies);
    CLabelCanvas& canvas = m_frame.m_wndCanvas;
    const LabelPainter painter = CanvasPainter(canvas);
    CupsPrinterConfig printers;
    CupsSpooler spooler;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const MergeOutcome outcome =
        PrintMerged(canvas.GetLabel(), choice, SettingsFor(choice, {}, QDateTime::currentDateTime()),
                    canvas.Symbols(), painter, printers, spooler, printer);
    QGuiApplication::restoreOverrideCursor();
    canvas.update();
    QStringList lines;
    for (const RecordProblem& problem : outcome.problems) {
        lines << QString::fromStdString(DescribeProblem(problem));
    }
    if (!outcome.ok) {
        lines << QString::fromStdString(outcome.error);
    } else if (!outcome.problems.empty()) {
        lines << QString::fromStdString(MergeSummary(outcome.problems.size(), outcome.labels));
    }
    if (!lines.isEmpty()) {
        Tell(lines.join('\n'));
    }
    return true;
}

bool CDataMenu::DrawShown(QPainter& painter, Label& label) {
    CLabelCanvas& canvas = m_frame.m_wndCanvas;
    const LabelPainter draw = CanvasPainter(canvas);
    if (m_record == 0) {
        return draw(painter, label);
    }
    // A filled copy is drawn; the label's own serial numbers step as drawing would step them.
    Label page;
    page.m_nLabelWidthMM = label.m_nLabelWidthMM;
    page.m_nLabelHeightMM = label.m_nLabelHeightMM;
    page.m_nDpiX = label.m_nDpiX;
    page.m_nDpiY = label.m_nDpiY;
    std::vector<bool> filled;
    for (const ElementPtr& element : label.m_elements) {
        Element& shown = page.Append(*element);
        filled.push_back(m_record > 0 && Fill(shown));
        if (filled.back()) {
            shown.hImage = 0;
            QImage scratch(1, 1, QImage::Format_RGB32);
            QPainter screen(&scratch);
            PrepareForOutput(
                RenderContext{screen, canvas.Symbols(), canvas.Scale(), false, canvas.Scale(), {}}, shown);
        }
    }
    const bool moved = draw(painter, page);
    for (std::size_t i = 0; i < filled.size(); ++i) {
        if (filled[i]) {
            canvas.Symbols().Release(*page.m_elements[i]);
        } else {
            std::memcpy(label.m_elements[i]->str, page.m_elements[i]->str, sizeof label.m_elements[i]->str);
            label.m_elements[i]->hImage = page.m_elements[i]->hImage;
        }
    }
    return moved;
}

void CDataMenu::Refresh() {
    QStringList columns;
    for (const std::string& column : m_choice ? m_columns : std::vector<std::string>()) {
        columns << QString::fromStdString(column);
    }
    ContentEdit::SetFieldColumns(columns);
    m_rows->setEnabled(m_choice && m_choice->kind != SourceKind::Csv && m_choice->kind != SourceKind::Tsv);
    m_detach->setEnabled(m_choice.has_value());
    for (QAction* step : m_steps) {
        step->setEnabled(m_record > 0);
    }
    m_status->setText(m_record > 0 ? UiText(TextId::DataRecordShown).arg(m_record) : QString());
    m_frame.m_wndCanvas.SetContentFill(m_record > 0 ? m_fill : std::function<bool(Element&)>());
}

bool CDataMenu::Fill(Element& shown) const {
    if (shown.nKind != ElementKind::Text && shown.nKind != ElementKind::Barcode &&
        shown.nKind != ElementKind::Code2D) {
        return false;
    }
    const FieldTemplate content = FieldTemplate::Parse(ContentUtf8(shown));
    if (!content.HasFields()) {
        return false;
    }
    SetContent(shown, content.Expand({&m_index, &m_values, m_record, 1, QDateTime::currentDateTime()}),
               Overflow::Cut);
    return true;
}

}  // namespace etiqo
