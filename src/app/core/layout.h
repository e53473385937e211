// The main window as data: every control with its kind, parent, caption,
// position (left, top in the parent's client area), size and click handler.
// Front ends build the window from this table and reach controls by name.
#pragma once

#include <span>
#include <string_view>

namespace suozhi::app {

enum class ControlKind { kGroupBox, kRadioButton, kLabel, kEdit, kButton };

enum class Handler {
  kNone,
  kGenerateHelp,  // OnGenerateHelpClick
  kGenerate,      // OnGenerateClick
  kCopyShort,     // OnCopyShortClick
  kRestore,       // OnRestoreClick
  kCopyRestored,  // OnCopyRestoredClick
  kRestoreHelp,   // OnRestoreHelpClick
};

struct ControlSpec {
  std::string_view name;
  ControlKind kind;
  std::string_view parent;  // "" for the window itself
  std::string_view caption;
  int left, top, width, height;
  Handler handler = Handler::kNone;
  bool checked = false;
};

inline constexpr std::string_view kWindowCaption = "缩址精灵";
inline constexpr int kOuterWidth = 371, kOuterHeight = 428;
// The outer size less a typical frame and title bar.
inline constexpr int kClientWidth = 365, kClientHeight = 400;

// Short-link types 1 to 8 and the domains the web API offers for them.
inline constexpr std::string_view kTypeDomains[] = {"url.cn", "t.cn",   "dwz.cn",   "suo.im",
                                                    "u.nu",   "mrw.so", "w.url.cn", "sohu.gg"};
inline constexpr std::string_view kTypeButtons[] = {"单选框1", "单选框2", "单选框3", "单选框4",
                                                    "单选框5", "单选框6", "单选框7", "单选框8"};

using K = ControlKind;
using H = Handler;
inline constexpr ControlSpec kMainWindowControls[] = {
    {"分组框1", K::kGroupBox, "", "短网址类型", 23, 8, 321, 96},
    {"单选框1", K::kRadioButton, "分组框1", kTypeDomains[0], 17, 16, 64, 24, H::kNone, true},
    {"单选框2", K::kRadioButton, "分组框1", kTypeDomains[1], 89, 16, 64, 24},
    {"单选框3", K::kRadioButton, "分组框1", kTypeDomains[2], 161, 16, 64, 24},
    {"单选框4", K::kRadioButton, "分组框1", kTypeDomains[3], 233, 16, 64, 24},
    {"单选框5", K::kRadioButton, "分组框1", kTypeDomains[4], 17, 48, 56, 24},
    {"单选框6", K::kRadioButton, "分组框1", kTypeDomains[5], 89, 48, 64, 24},
    {"单选框7", K::kRadioButton, "分组框1", kTypeDomains[6], 161, 48, 72, 24},
    {"单选框8", K::kRadioButton, "分组框1", kTypeDomains[7], 233, 48, 80, 24},
    {"分组框2", K::kGroupBox, "", "短网址生成", 24, 120, 320, 128},
    {"标签1", K::kLabel, "分组框2", "原网址：", 24, 24, 48, 24},
    {"原网址内容", K::kEdit, "分组框2", "", 72, 24, 232, 24},
    {"标签2", K::kLabel, "分组框2", "短网址：", 24, 58, 56, 24},
    {"短网址内容", K::kEdit, "分组框2", "", 72, 58, 232, 24},
    {"按钮3", K::kButton, "分组框2", "帮助", 32, 96, 80, 24, H::kGenerateHelp},
    {"生成", K::kButton, "分组框2", "生成", 131, 96, 80, 24, H::kGenerate},
    {"复制", K::kButton, "分组框2", "复制", 232, 96, 80, 24, H::kCopyShort},
    {"分组框3", K::kGroupBox, "", "短网址还原", 24, 256, 320, 128},
    {"标签3", K::kLabel, "分组框3", "短网址：", 24, 24, 48, 24},
    {"短网址还原1", K::kEdit, "分组框3", "", 72, 24, 232, 24},
    {"标签4", K::kLabel, "分组框3", "原网址：", 24, 64, 48, 16},
    {"短网址还原2", K::kEdit, "分组框3", "", 72, 64, 232, 24},
    {"标签5", K::kLabel, "分组框3", "理论支持所有短网址", 128, 0, 128, 16},
    {"按钮1", K::kButton, "分组框3", "还原", 133, 96, 80, 24, H::kRestore},
    {"按钮2", K::kButton, "分组框3", "复制", 231, 96, 80, 24, H::kCopyRestored},
    {"按钮4", K::kButton, "", "帮助", 58, 352, 80, 24, H::kRestoreHelp},
};

}  // namespace suozhi::app
