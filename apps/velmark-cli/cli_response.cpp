#include "cli_response.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <vector>

#include "cli_source.h"
#include "cli_verbs.h"
#include "editor/graph_sheet.h"
#include "report/decoded_unit.h"
#include "report/export_file.h"
#include "report/response_csv.h"
#ifdef VELMARK_CLI_PICTURES
#include "ui/qt/export/sheet_export.h"
#endif

namespace velmark::cli {
namespace {

namespace fs = std::filesystem;

enum class Output { Csv, Png, Svg };

struct Target {
  Output kind;
  std::string file;
};

Target TargetOf(const CliOptions& o) {
  if (o.png) return {Output::Png, *o.png};
  if (o.svg) return {Output::Svg, *o.svg};
  return {Output::Csv, o.csv.value_or("")};
}

// The channels to write: the one named, else every channel (the outputs only with an input).
std::vector<ResponseChoice> Choices(const CliOptions& o) {
  std::optional<int> input;
  if (o.with_input) input = ParseChannelTabName(*o.with_input);
  if (o.channel) return {{*ParseChannelTabName(*o.channel), input}};
  std::vector<ResponseChoice> out;
  for (int ch = input ? kInputCount : 0; ch < kChannelCount; ++ch) out.push_back({ch, input});
  return out;
}

// FILE for a single channel; FILE with "-X" before its extension for each of several.
std::string FileFor(const std::string& file, int ch, bool several) {
  if (!several) return file;
  const fs::path p(file);
  return (p.parent_path() / (p.stem().string() + "-" + ChannelTabName(ch) + p.extension().string()))
      .string();
}

int Fail(const std::string& line) {
  std::cerr << "velmark-cli: " << line << "\n";
  return kExitFailed;
}

std::string WriteCsv(DecodedUnit& unit, const std::string& source, const ResponseChoice& choice,
                     const std::string& path) {
  const std::string text =
      ResponseCsv(ExportedCurve(unit.Responses(), choice),
                  ResponseComments(source, choice, unit.State().ChannelNames[0][choice.channel]));
  return WriteExportFile(path, text);
}

#ifdef VELMARK_CLI_PICTURES
std::string WritePicture(DecodedUnit& unit, const ResponseChoice& choice, Output kind,
                         const std::string& path) {
  FrmKVRxxxA& w = unit.Window();
  DrawGraphCurve(w, ExportedCurve(unit.Responses(), choice), choice.channel);
  return ui::qt::WriteSheet(EditGraphSheet(w),
                            kind == Output::Png ? ui::PictureFormat::Png : ui::PictureFormat::Svg,
                            path);
}
#endif

int WriteAll(const CliOptions& o, const LoadedSource& source, const Target& target) {
  DecodedUnit unit;
  unit.Decode(source.image);
#ifdef VELMARK_CLI_PICTURES
  std::optional<ui::qt::OffscreenGraphics> graphics;
  if (target.kind != Output::Csv) graphics.emplace();
#endif
  const std::vector<ResponseChoice> choices = Choices(o);
  for (const ResponseChoice& choice : choices) {
    const std::string path = FileFor(target.file, choice.channel, choices.size() > 1);
    std::string error;
#ifdef VELMARK_CLI_PICTURES
    error = target.kind == Output::Csv ? WriteCsv(unit, source.name, choice, path)
                                       : WritePicture(unit, choice, target.kind, path);
#else
    error = WriteCsv(unit, source.name, choice, path);
#endif
    if (!error.empty()) return Fail(path + ": " + error);
    std::cout << "wrote " << path << " (" << ChannelLongName(choice.channel) << ")\n";
  }
  return kExitOk;
}

}  // namespace

std::string CheckResponseOptions(const CliOptions& o) {
  if (o.args.size() > 1) return "response takes one SOURCE (a preset file or a unit)";
  if ((o.csv ? 1 : 0) + (o.png ? 1 : 0) + (o.svg ? 1 : 0) != 1) {
    return "response needs one of --csv FILE, --png FILE, --svg FILE";
  }
  if (TargetOf(o).file.empty()) return "response needs a file name";
  if (o.channel && o.all_channels) return "--channel and --all exclude each other";
  if (o.channel && !ParseChannelTabName(*o.channel)) {
    return "--channel needs A, B, C, D (inputs) or 1, 2, 3, 4 (outputs), saw " + *o.channel;
  }
  if (o.with_input) {
    const auto input = ParseChannelTabName(*o.with_input);
    if (!input || *input >= kInputCount) {
      return "--with-input needs an input A, B, C or D, saw " + *o.with_input;
    }
    if (o.channel && *ParseChannelTabName(*o.channel) < kInputCount) {
      return "--with-input goes with an output channel 1..4";
    }
  }
  return {};
}

int ResponseVerb(const CliOptions& o) {
  const Target target = TargetOf(o);
#ifndef VELMARK_CLI_PICTURES
  if (target.kind != Output::Csv) {
    return Fail(
        "this velmark-cli was built without Qt: --png and --svg are not available (--csv is)");
  }
#endif
  const LoadedSource source = LoadSource(o, o.args.empty() ? std::string() : o.args[0]);
  if (!source.error.empty()) return Fail(source.error);
  return WriteAll(o, source, target);
}

}  // namespace velmark::cli
