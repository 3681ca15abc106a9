// Ops members that show the common dialogues: open, open several, save, colour. Each frame
// prepares the title, the file type and the starting folder, and hands on to one cBrowse made
// for the call with the component's own module instance. A cancelled dialogue is an ordinary
// answer: "" from the file dialogues, "0" from the colour dialogue; every error gives the same.
#include <string>

#include "component/module.h"
#include "component/ops.h"
#include "dialogs/cBrowse.h"
#include "dialogs/dialog_requests.h"
#include "platform/color_code.h"
#include "platform/member.h"
#include "platform/params.h"

namespace kovar3 {
namespace {

using dialogs::cBrowse;
using dialogs::FileType;

Variant NoFile() { return Variant::Text(""); }

}  // namespace

HRESULT Ops::OpenDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* vInitDir, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string title = dialogs::TitleOr(ReadParamText(vTitle), dialogs::kOpenTitle);
            const FileType type = dialogs::OpenFileType(ReadParamText(vExt));
            const std::string folder =
                dialogs::StartingFolder(ReadParamText(vInitDir), file_system_);
            cBrowse browse(module::Current());
            return Variant::Text(browse.DOpen(title, type.name, type.pattern, folder));
        },
        NoFile);
}

// Several files come back as full paths joined by "*".
HRESULT Ops::OpenMultiDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* vInitDir, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string title =
                dialogs::TitleOr(ReadParamText(vTitle), dialogs::kSelectTitle);
            const FileType type = dialogs::OpenFileType(ReadParamText(vExt));
            const std::string folder =
                dialogs::StartingFolder(ReadParamText(vInitDir), file_system_);
            cBrowse browse(module::Current());
            return Variant::Text(
                dialogs::JoinSelection(browse.DOpenMulti(title, type.name, type.pattern, folder)));
        },
        NoFile);
}

HRESULT Ops::SaveDlg(VARIANT* vTitle, VARIANT* vExt, VARIANT* result)
{
    return RunMember(
        result,
        [&] {
            const std::string title =
                dialogs::TitleOr(ReadParamText(vTitle), dialogs::kSelectTitle);
            const std::string ext = ReadParamText(vExt);
            const FileType type = dialogs::SaveFileType(ext);
            cBrowse browse(module::Current());
            return Variant::Text(
                browse.DSave(title, type.name, type.pattern, dialogs::SaveDefaultExtension(ext)));
        },
        NoFile);
}

// The colour as RRGGBB, or "0" when nothing was chosen. The member has no parameter to read
// and its steps cannot fail but for memory; whatever fails ends in "0".
HRESULT Ops::ColorDlg(VARIANT* result)
{
    return RunMember(
        result,
        [] {
            const long color = cBrowse(module::Current()).DColor();
            return color == -1 ? Variant::Text("0")
                               : Variant::Text(ColorCodeFromValue(static_cast<COLORREF>(color)));
        },
        [] { return Variant::Text("0"); });
}

}  // namespace kovar3
