#include "editor/graph_menu.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "editor/frm_kvr.h"
#include "editor/graph_sheet.h"
#include "report/export_file.h"
#include "report/response_csv.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

void ShowFailure(FrmKVRxxxA& w, const std::string& text, const char* title) {
  w.Services().messages.Show(text, title, ui::MsgIcon::Exclamation, ui::MsgButtons::Ok);
}

// Where a control sits in the window's client area: its position plus its containers'.
std::pair<int, int> ClientOrigin(const ui::Control& c) {
  int left = 0, top = 0;
  for (const ui::Control* at = &c; at; at = at->Container()) {
    left += at->Left();
    top += at->Top();
  }
  return {left, top};
}

std::string WriteCsv(FrmKVRxxxA& w, const std::string& path) {
  ProgramState& st = w.GetCore().st;
  const int unit = w.Unit();
  const ResponseChoice choice{st.CurChannel[unit], std::nullopt};
  if (choice.channel < 0 || choice.channel >= kChannelCount) return "no channel is shown";
  const std::string text =
      ResponseCsv(ExportedCurve(st.Responses(unit), choice),
                  ResponseComments(w.Caption(), choice, st.ChannelNames[unit][choice.channel]));
  return WriteExportFile(path, text);
}

std::string WritePicture(FrmKVRxxxA& w, ui::PictureFormat format, const std::string& path) {
  ui::PictureService* pictures = w.Services().pictures;
  if (!pictures) return "pictures cannot be written here";
  return pictures->SaveSheet(EditGraphSheet(w), format, path);
}

}  // namespace

GraphExportKind ExportKindOf(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".png") return GraphExportKind::Png;
  if (ext == ".svg") return GraphExportKind::Svg;
  return GraphExportKind::Csv;
}

void ExportResponse(FrmKVRxxxA& w) {
  w.TakeCurrentUnit();
  const ProgramState& st = w.GetCore().st;
  std::error_code ec;
  const fs::path folder = fs::absolute(fs::path(st.DataFolder), ec);
  const auto chosen =
      w.Services().files.SaveFile(ui::FileRequest{kGraphExportFilter, folder.string(), true, true});
  if (!chosen || chosen->empty()) return;
  std::string path = *chosen;
  if (fs::path(path).extension().empty()) path += ".csv";
  const GraphExportKind kind = ExportKindOf(path);
  const std::string error = kind == GraphExportKind::Csv ? WriteCsv(w, path)
                            : kind == GraphExportKind::Png
                                ? WritePicture(w, ui::PictureFormat::Png, path)
                                : WritePicture(w, ui::PictureFormat::Svg, path);
  if (!error.empty()) {
    ShowFailure(w, "The response could not be written to " + path + ": " + error + ".",
                kGraphExportTitle);
  }
}

void CopyGraphPicture(FrmKVRxxxA& w) {
  w.TakeCurrentUnit();
  ui::PictureService* pictures = w.Services().pictures;
  const std::string error =
      pictures ? pictures->CopySheet(EditGraphSheet(w)) : "there is no clipboard here";
  if (!error.empty()) {
    ShowFailure(w, "The picture could not be copied: " + error + ".", kGraphCopyTitle);
  }
}

void WireGraphMenu(FrmKVRxxxA& w) {
  w.GraphMenu.SetItems({"Export response…", "Copy picture"});
  w.GraphMenu.SetVisible(false);
  w.GraphMenu.OnClick = [&w](int item) {
    if (item == kGraphMenuExport) ExportResponse(w);
    if (item == kGraphMenuCopy) CopyGraphPicture(w);
  };
  w.Picture1.OnMouseDown = [&w](int button, int, double x, double y) {
    if (button != ui::kRightButton) return;
    w.TakeCurrentUnit();
    const auto [left, top] = ClientOrigin(w.Picture1);
    w.Services().desktop.PopupMenu(w, w.GraphMenu, left + static_cast<int>(x),
                                   top + static_cast<int>(y));
  };
}

}  // namespace velmark
