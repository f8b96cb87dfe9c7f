#include "cli/InfoCommand.h"

#include <cstdio>
#include <string>

#include "cli/CliSupport.h"
#include "model/TextCodec.h"

namespace etiqo {
namespace {

const char* KindName(ElementKind kind) {
    switch (kind) {
        case ElementKind::Text:
            return "text";
        case ElementKind::Picture:
            return "picture";
        case ElementKind::Barcode:
            return "barcode";
        case ElementKind::Code2D:
            return "2d";
        case ElementKind::Line:
            return "line";
        case ElementKind::Shape:
            return "shape";
    }
    return "unknown";  // a record of a kind this program does not know
}

nlohmann::ordered_json ElementToJson(const Element& e) {
    const LOGFONTA& f = e.lfFont;
    return {
        {"kind", KindName(e.nKind)},
        {"x", e.nPosX},
        {"y", e.nPosY},
        {"width", e.nWidth},
        {"height", e.nHeight},
        {"rotation", e.nEscapement},
        {"content", ContentUtf8(e)},
        {"selected", e.bSelected},
        {"font",
         {{"face", FaceNameUtf8(f)},
          {"height", f.lfHeight},
          {"width", f.lfWidth},
          {"weight", f.lfWeight},
          {"italic", f.lfItalic},
          {"underline", f.lfUnderline},
          {"strikeout", f.lfStrikeOut},
          {"escapement", f.lfEscapement}}},
        {"symbology", e.nSymbology},
        {"showText", e.bShowText},
        {"penWidth", e.nPenWidth},
        {"end", {e.nEndX, e.nEndY}},
        {"shapeType", e.nShapeType},
        {"cornerSize", e.nCornerSize},
        {"imageWidth", e.nImageWidth},
        {"imageHeight", e.nImageHeight},
        {"minBarHeight", e.nMinBarHeight},
        {"serial",
         {{"mode", e.nSerialMode},
          {"step", e.nSerialStep},
          {"resetAt", e.nSerialResetAt},
          {"resetTo", e.nSerialResetTo}}},
    };
}

}  // namespace

nlohmann::ordered_json LabelToJson(const LabelFileContents& label) {
    nlohmann::ordered_json elements = nlohmann::ordered_json::array();
    for (const ElementPtr& element : label.elements) {
        elements.push_back(ElementToJson(*element));
    }
    return {
        {"widthMM", label.widthMM},
        {"heightMM", label.heightMM},
        {"printer", label.printerName},
        {"layout", label.layout == LabelLayout::Current ? "current" : "older"},
        {"elements", std::move(elements)},
    };
}

int RunInfo(const QStringList& args) {
    CommandParser command(QStringLiteral("info"), TextId::CliInfoSummary);
    command.Parser().addPositionalArgument(QStringLiteral("FILE.lab"), UiText(TextId::CliArgLabelFile));
    if (const auto status = command.Parse(args, 1)) {
        return *status;
    }
    const LabelReadResult read = ReadLabelFile(ArgumentBytes(command.Parser().positionalArguments().front()));
    if (!read) {
        return Fail(read.error);
    }
    // Text decoded from the records is valid UTF-8 already; replace is a second safety net.
    const std::string text =
        LabelToJson(*read.contents).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace etiqo
