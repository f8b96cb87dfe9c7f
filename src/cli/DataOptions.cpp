#include "cli/DataOptions.h"

#include "cli/CliSupport.h"
#include "data/MergeOutput.h"
#include "data/SourceFile.h"

namespace etiqo {

DataOptionSet::DataOptionSet(QCommandLineParser& parser)
    : m_parser(parser),
      m_data(QStringLiteral("data"), UiText(TextId::DataOptSource), QStringLiteral("SOURCE")),
      m_table(QStringLiteral("table"), UiText(TextId::DataOptTable), QStringLiteral("T")),
      m_query(QStringLiteral("query"), UiText(TextId::DataOptQuery), QStringLiteral("SQL")),
      m_quantity(QStringLiteral("quantity"), UiText(TextId::DataOptQuantity), QStringLiteral("COLUMN")),
      m_records(QStringLiteral("records"), UiText(TextId::DataOptRecords), QStringLiteral("A-B")) {
    m_parser.addOptions({m_data, m_table, m_query, m_quantity, m_records});
}

std::optional<int> DataOptionSet::Read(const CommandParser& command, const std::string& labelFile, int copies,
                                       DataOptions& options) const {
    if (m_parser.isSet(m_table) && m_parser.isSet(m_query)) {
        return command.UsageError(UiText(TextId::DataTableAndQuery));
    }
    if (m_parser.isSet(m_data)) {
        options.choice = SourceChoiceFor(ArgumentBytes(m_parser.value(m_data)));
    } else if (const std::optional<SourceChoice> remembered = ReadSourceFile(labelFile)) {
        options.choice = *remembered;
    } else {
        const bool dataOnly = m_parser.isSet(m_table) || m_parser.isSet(m_query) ||
                              m_parser.isSet(m_quantity) || m_parser.isSet(m_records);
        return dataOnly ? std::optional(command.UsageError(UiText(TextId::DataNoSource))) : std::nullopt;
    }
    options.used = true;
    if (m_parser.isSet(m_table)) {
        options.choice.table = ArgumentText(m_parser.value(m_table)).toStdString();
        options.choice.query.clear();
    }
    if (m_parser.isSet(m_query)) {
        options.choice.query = ArgumentText(m_parser.value(m_query)).toStdString();
        options.choice.table.clear();
    }
    if (m_parser.isSet(m_quantity)) {
        options.choice.quantityColumn = ArgumentText(m_parser.value(m_quantity)).toStdString();
    }
    if (copies > 0) {
        options.choice.copies = copies;
    }
    if (m_parser.isSet(m_records)) {
        const auto range = ParseRecordRange(m_parser.value(m_records).toStdString());
        if (!range) {
            return command.UsageError(UiText(TextId::DataBadRange).arg(m_parser.value(m_records)));
        }
        options.range = *range;
    }
    const bool sql = options.choice.kind == SourceKind::Sqlite || options.choice.kind == SourceKind::Sql;
    if (sql && options.choice.table.empty() && options.choice.query.empty()) {
        return command.UsageError(
            UiText(TextId::DataNeedsTable).arg(QString::fromStdString(options.choice.location)));
    }
    return std::nullopt;
}

int ReportOutcome(const MergeOutcome& outcome) {
    for (const RecordProblem& problem : outcome.problems) {
        Fail(DescribeProblem(problem));
    }
    if (!outcome.ok) {
        return Fail(outcome.error);
    }
    if (!outcome.problems.empty()) {
        return Fail(MergeSummary(outcome.problems.size(), outcome.labels));
    }
    return kExitOk;
}

}  // namespace etiqo
