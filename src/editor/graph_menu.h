#pragma once
// The context menu of the response graph (right button on Picture1): "Export response…"
// writes the current channel's response as CSV text, a PNG picture or an SVG drawing, chosen by
// the file's extension in the save dialog; "Copy picture" puts the graph on the clipboard.
// Files and pictures go through the platform's services; a failure is shown in a message box.

#include <string>

namespace velmark {

class FrmKVRxxxA;

inline constexpr int kGraphMenuExport = 0, kGraphMenuCopy = 1;
inline constexpr const char* kGraphExportFilter =
    "CSV text (*.csv)|*.csv|PNG picture (*.png)|*.png|SVG drawing (*.svg)|*.svg";
inline constexpr const char* kGraphExportTitle = "Export response";
inline constexpr const char* kGraphCopyTitle = "Copy picture";

enum class GraphExportKind { Csv, Png, Svg };

// .png and .svg (any case) write pictures; any other name is written as CSV text.
GraphExportKind ExportKindOf(const std::string& path);

// Fills GraphMenu and wires it and the right button of Picture1.
void WireGraphMenu(FrmKVRxxxA& w);

// The two entries, as the menu runs them.
void ExportResponse(FrmKVRxxxA& w);
void CopyGraphPicture(FrmKVRxxxA& w);

}  // namespace velmark
