#pragma once
// The latitude/longitude converter: three rows, each taking a coordinate pair in one text form
// (decimal degrees, the compact form of IGC flight logs, degrees:minutes:seconds) and showing
// it in two others. It changes nothing in the project.
#include "platform/ui/control_array.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <array>

class Frm_CvLL1 : public plat::Form {
public:
    Frm_CvLL1();

    plat::Label Lab_Lat{*this, "Lab_Lat"};
    plat::Label Lab_Lon{*this, "Lab_Lon"};
    plat::Label Lab_Results{*this, "Lab_Results"};

    plat::Frame Frame1{*this, "Frame1"};
    plat::TextBox Lat1{*this, "Lat1"};
    plat::TextBox Lon1{*this, "Lon1"};
    plat::Label RLat1{*this, "RLat1"};
    plat::Label RLon1{*this, "RLon1"};
    plat::Label RLat1A{*this, "RLat1A"};
    plat::Label RLon1A{*this, "RLon1A"};

    plat::Frame Frame2{*this, "Frame2"};
    plat::TextBox Lat2{*this, "Lat2"};
    plat::TextBox Lon2{*this, "Lon2"};
    plat::Label RLat2{*this, "RLat2"};
    plat::Label RLon2{*this, "RLon2"};
    plat::Label RLat2A{*this, "RLat2A"};
    plat::Label RLon2A{*this, "RLon2A"};

    plat::Frame Frame3{*this, "Frame3"};
    plat::TextBox Lat3{*this, "Lat3"};
    plat::TextBox Lon3{*this, "Lon3"};
    plat::Label RLat3{*this, "RLat3"};
    plat::Label RLon3{*this, "RLon3"};
    plat::Label RLat3A{*this, "RLat3A"};
    plat::Label RLon3A{*this, "RLon3A"};

    // One per row, each in its row's frame, so that any set of rows can be selected.
    plat::ControlArray<plat::OptionButton> OptClc{*this, "OptClc", {0, 1, 2}};

    plat::CommandButton Cmd_Clc{*this, "Cmd_Clc"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};
    plat::CommandButton Cmd_Help{*this, "Cmd_Help"};

    void Frm_CvLL1_Form_Load();
    void Frm_CvLL1_Lat1_Validate(bool& cancel);
    void Frm_CvLL1_Lon1_Validate(bool& cancel);
    void Frm_CvLL1_Lat2_Validate(bool& cancel);
    void Frm_CvLL1_Lon2_Validate(bool& cancel);
    void Frm_CvLL1_Lat3_Validate(bool& cancel);
    void Frm_CvLL1_Lon3_Validate(bool& cancel);
    void Frm_CvLL1_Cmd_Clc_Click();
    void Frm_CvLL1_Cmd_Cancel_Click();
    void Frm_CvLL1_Cmd_Help_Click();

    // The last accepted value of each row, decimal degrees, south and west negative.
    std::array<double, 3> Row_Lat{};
    std::array<double, 3> Row_Lon{};

protected:
    void Design() override;

private:
    using Reader = bool (*)(const std::string& text, double& value);
    void Take_Entry(plat::TextBox& box, Reader read, double& stored, bool& cancel);
};

// The one instance of the window.
Frm_CvLL1& Frm_CvLL1_Window();
// Shows it modally; every opening starts from the load values.
void Frm_CvLL1_Show_Modal();
