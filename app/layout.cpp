#include "app/layout.h"

#include <cstring>

#include "app/config.h"

namespace brv {

namespace {

using K = ControlKind;
using F = FontKind;

const std::vector<ControlSpec> kForm1Controls = {
    {"Label14", K::Label, nullptr, "Brovantine free version", 120, 120, 3135, 255, F::Arial,
     kNoFlags},
    {"Label15", K::Label, nullptr, "Manage your browser extensions in a smart and simple way", 5040,
     240, 6615, 255, F::ArialBlack, kNoFlags},
    {"Line1", K::Line, nullptr, "", 120, 480, 11400, 0, F::Default, kGreyLine},
    {"Frame1", K::Frame, nullptr, "Internet Explorer Toolbar Buttons", 120, 600, 7215, 2655,
     F::ArialBold, kNoFlags},
    {"Label1", K::Label, "Frame1", "Current User", 840, 360, 1815, 255, F::Default, kNoFlags},
    {"Label2", K::Label, "Frame1", "All Users", 5040, 360, 735, 255, F::Default, kNoFlags},
    {"List1", K::ListBox, nullptr, "", 240, 1200, 3495, 645, F::Default, kHint},
    {"List2", K::ListBox, nullptr, "", 3720, 1200, 3495, 645, F::Default, kHint},
    {"Label3", K::Label, "Frame1", "Button Text", 240, 1440, 1095, 375, F::Default, kNoFlags},
    {"Text1", K::TextBox, nullptr, "", 1680, 2040, 3495, 375, F::Arial, kBlueText},
    {"Label4", K::Label, "Frame1", "Command", 480, 1800, 855, 375, F::Default, kNoFlags},
    {"Text2", K::TextBox, nullptr, "", 1680, 2400, 3495, 375, F::Arial, kBlueText},
    {"Label13", K::Label, "Frame1", "Menu Text", 360, 2160, 975, 255, F::Default, kNoFlags},
    {"Text9", K::TextBox, "Frame1", "", 1560, 2160, 3495, 375, F::Arial, kBlueText},
    {"Command1", K::Button, nullptr, "Delete", 5760, 2400, 1335, 375, F::Default, kDisabled},
    {"Frame2", K::Frame, nullptr, "Internet Explorer Toolbars", 120, 3360, 7215, 2055, F::Default,
     kNoFlags},
    {"List3", K::ListBox, "Frame2", "", 120, 360, 3495, 645, F::Default, kHint},
    {"List4", K::ListBox, "Frame2", "", 3600, 360, 3375, 645, F::Default, kHint},
    {"Label5", K::Label, "Frame2", "Toolbar", 600, 1200, 735, 255, F::Default, kNoFlags},
    {"Text3", K::TextBox, "Frame2", "", 1680, 1200, 3375, 375, F::Arial, kBlueText},
    {"Label6", K::Label, "Frame2", "DLL Name", 360, 1680, 975, 255, F::Default, kNoFlags},
    {"Text4", K::TextBox, "Frame2", "", 1680, 1560, 3375, 375, F::Arial, kBlueText},
    {"Command4", K::Button, "Frame2", "Delete", 5640, 1440, 1335, 375, F::Default, kNoFlags},
    {"Text8", K::TextBox, "Frame2", "Text8", 5400, -120, 1095, 375, F::Default, kHidden},
    {"Frame3", K::Frame, nullptr, "Internet Explorer Context Menu Extensions", 120, 5520, 7215,
     1575, F::Default, kNoFlags},
    {"List5", K::ListBox, "Frame3", "", 240, 360, 3015, 1035, F::Default, kNoFlags},
    {"Label12", K::Label, "Frame3", "Command/Script", 3480, 360, 1455, 375, F::Default, kNoFlags},
    {"Text7", K::TextBox, "Frame3", "", 3480, 600, 3015, 375, F::Arial, kBlueText},
    {"Command10", K::Button, "Frame3", "Delete", 5640, 1080, 1335, 375, F::Default, kNoFlags},
    {"Frame4", K::Frame, nullptr, "Browser Helper Objects [BHOs]", 7440, 600, 4095, 5895,
     F::ArialBold, kNoFlags},
    {"Label7", K::Label, "Frame4", "Enabled BHOs", 360, 360, 1935, 255, F::Default, kNoFlags},
    {"List6", K::ListBox, "Frame4", "", 360, 600, 3255, 645, F::Default, kNoFlags},
    {"Label8", K::Label, "Frame4", "Disabled BHOs", 360, 1440, 1575, 255, F::Default, kNoFlags},
    {"List7", K::ListBox, "Frame4", "", 360, 1680, 3255, 645, F::Default, kNoFlags},
    {"Label9", K::Label, "Frame4", "Description", 360, 2520, 1815, 255, F::Default, kNoFlags},
    {"Text5", K::TextBox, "Frame4", "", 360, 2760, 3255, 375, F::Arial, kBlueText},
    {"Label10", K::Label, "Frame4", "Related File", 360, 3240, 1455, 255, F::Default, kNoFlags},
    {"Text6", K::TextBox, "Frame4", "", 360, 3480, 3255, 375, F::Arial, kBlueText},
    {"Command2", K::Button, "Frame4", "Disable BHO", 120, 4080, 1815, 375, F::Default, kDisabled},
    {"Command3", K::Button, "Frame4", "Enable BHO", 1920, 4080, 1815, 375, F::Default, kDisabled},
    {"Command5", K::Button, "Frame4", "Prevent loading with Windows Explorer", 120, 4560, 1815, 495,
     F::Default, kDisabled},
    {"Command9", K::Button, "Frame4", "Load with Windows Explorer", 1920, 4560, 1815, 495,
     F::Default, kDisabled},
    {"Command6", K::Button, "Frame4", "Delete the selected BHO", 120, 5160, 3615, 495, F::Default,
     kNoFlags},
    {"Command7", K::Button, nullptr, "About", 7560, 6600, 855, 495, F::Default, kNoFlags},
    {"Command8", K::Button, nullptr, "Help", 8520, 6600, 855, 495, F::Default, kNoFlags},
    {"Command11", K::Button, nullptr, "Brovantine Pro Version", 9480, 6600, 1935, 495, F::Default,
     kNoFlags},
    {"Label11", K::Label, nullptr, "Double-click registry key copies text to clipboard", 3720, 7080,
     4575, 375, F::Arial, kNoFlags},
};

const std::vector<MenuSpec> kForm1Menus = {
    {"About", "&About", nullptr},
    {"Refresh", "&Refresh", nullptr},
    {"options", "&Options", nullptr},
    {"tbutton", "Add Brovantine button to Internet Explorer", "options"},
    {"Security", "&Increase Security level for Internet Zone (Internet Explorer)", "options"},
    {"resettoolbar", "Reset Internet Explorer Toolbar layout", "options"},
    {"", nullptr, "options"},
    {"report", "Save a report...\tCtrl+S", "options"},
    {"Exit", "Exit", nullptr},
};

const std::vector<ControlSpec> kSplashControls = {
    {"Command1", K::Button, nullptr, "OK", 4320, 2400, 975, 495, F::Default, kNoFlags},
    {"Frame1", K::Frame, nullptr, "", 120, 120, 5400, 3015, F::Default, kNoFlags},
    {"Image1", K::Picture, "Frame1", "", 240, 360, 480, 480, F::Default, kNoFlags},
    {"Label4", K::Label, "Frame1",
     "Brovantine can remove unwanted Toolbar buttons, Toolbars, Context Menu Extensions and "
     "malware Browser Helper Objects [BHOs] in Internet Explorer. This tool can be used to deal "
     "with spyware toolbars.",
     1200, 240, 3495, 1455, F::Default, kNoFlags},
    {"Line1", K::Line, "Frame1", "", 360, 1560, 4680, 0, F::Default, kNoFlags},
    {"Line2", K::Line, "Frame1", "", 360, 1680, 4680, 0, F::Default, kGreyLine},
    {"lblWarning", K::Label, "Frame1", "Feedback:", 360, 1800, 975, 255, F::ArialBold9, kNoFlags},
    {"Label2", K::Label, "Frame1", BRV_MAKER_NAME, 1320, 1800, 1095, 255, F::ArialBoldUnderline9,
     kBlueText},
    {"Label1", K::Label, "Frame1",
     "If this utility has helped you, please consider a donation, as a support for my work. "
     "Donations accepted via PayPal.",
     360, 2160, 3735, 735, F::Default, kBlueText},
    {"lblPlatform", K::Label, "Frame1", "", 6765, 2340, 90, 360, F::Default, kNoFlags},
};

const std::vector<MenuSpec> kNoMenus;

}  // namespace

const FormSpec& Form1Layout() {
  static const FormSpec form{"Brovantine", 11640, 7365, kForm1Controls, kForm1Menus};
  return form;
}

const FormSpec& SplashLayout() {
  static const FormSpec form{"About - Brovantine v" BRV_VERSION_SHORT, 5595, 3240, kSplashControls,
                             kNoMenus};
  return form;
}

const ControlSpec* FindControl(const FormSpec& form, const char* name) {
  for (const ControlSpec& control : form.controls) {
    if (std::strcmp(control.name, name) == 0) return &control;
  }
  return nullptr;
}

std::string AccessibleName(const char* control) {
  static const struct {
    const char* control;
    const char* label;  // the control whose caption names it, or
    const char* name;   // its own name
  } kNames[] = {
      {"List1", "Label1", nullptr},
      {"List2", "Label2", nullptr},
      {"Text1", "Label3", nullptr},
      {"Text2", "Label4", nullptr},
      {"Text9", "Label13", nullptr},
      {"List3", nullptr, "Internet Explorer Toolbars, Current User"},
      {"List4", nullptr, "Internet Explorer Toolbars, All Users"},
      {"Text3", "Label5", nullptr},
      {"Text4", "Label6", nullptr},
      {"List5", "Frame3", nullptr},
      {"Text7", "Label12", nullptr},
      {"List6", "Label7", nullptr},
      {"List7", "Label8", nullptr},
      {"Text5", "Label9", nullptr},
      {"Text6", "Label10", nullptr},
  };
  for (const auto& entry : kNames) {
    if (!control || std::strcmp(entry.control, control) != 0) continue;
    if (entry.name) return entry.name;
    const ControlSpec* label = FindControl(Form1Layout(), entry.label);
    return label ? label->caption : "";
  }
  return std::string();
}

}  // namespace brv
