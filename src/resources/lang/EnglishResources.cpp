// The English language library (tq_en): the same ids and types as the program's own resources.

#include "AboutBoxLayout.h"
#include "DialogTextsBuilder.h"
#include "MainDialogLayout.h"
#include "ProgramIcons.h"
#include "ResourceIds.h"
#include "StringTableBuilder.h"

#include <iterator>

namespace tensiq::res {

namespace {

constexpr StringEntry kStrings[] = {
    {101, "&About Tensiq..."},
    {102, "Cannot synchronise on the data stream!"},
    {103, "Total"},
    {104, "Save last measurement"},
    {105, "Switch view"},
    {106, "Adjust next rope"},
    {107, "Start/stop measurement"},
    {108, "Quit program"},
    {109, "Start the rope tension assistant for convenient adjustment of the ropes"},
    {110, "Write parameters"},
    {111, "Read parameters"},
    {112, "No connection to the Tensiq!"},
    {113, "Error"},
    {114, "Reading the parameters failed!"},
    {115, "The parameters have not been read yet!"},
    {116, "Writing the parameters failed!"},
    {117, "Note"},
    {118, "The parameters were written successfully"},
    {119, "Start"},
    {120, "Stop"},
    {121,
     "Make sure now that the total weight does not change\nwhile the rope tensions are being set!"},
    {122, "Stop rope tension assistant"},
    {123, "Start rope tension assistant"},
    {124, "Text file"},
    {125, "All files"},
    {126, "Save as"},
    {127, "\"tensiq-cli doctor\" in a terminal names the usual causes and their fixes."},
    {150, "This measurement is not recorded and cannot be saved:\n%1"},
    {151, "The last measurement was not recorded, so it cannot be saved."},
    {152, "The record of the measurement cannot be read:\n%1\n(%2)"},
    {160,
     "The rope tension assistant needs at least two ropes.\nPlease check the number of ropes."},
    {161, "There is no measurement to save yet."},
    {162, "The file cannot be written there:\n%1"},
    {163, "The disk is full, the measurement was not saved:\n%1"},
    {164, "The measurement could not be saved:\n%1\n(%2)"},
    {166, "%1 already exists.\nDo you want to replace it?"},
    {180, "The measurement's record cannot be created:\n%1\n(%2)"},
    {181, "The measurement's record could not be written:\n%1\n(%2)"},
    {182, "The measurement's record could not be closed:\n%1\n(%2)"},
    {183, "It keeps the first %1 lines of the measurement."},
    {184, "%1 lines of the measurement were passed on before."},
    {185, "Its last line may be incomplete."},
    {186, "The disk is full"},
    {187, "The file has reached the largest size allowed"},
    {188, "No permission to write"},
    {189, "The folder does not exist"},
    {190, "Rope load chart"},
    {200, "Rope tension report..."},
    {201, "Rope tension report"},
    {202, "Report no."},
    {203, "Date"},
    {204, "Site"},
    {205, "Lift no."},
    {206, "Technician"},
    {207, "Remark"},
    {208, "Device"},
    {209, "Port"},
    {210, "Firmware"},
    {211, "Program"},
    {212, "Measured from %1 to %2"},
    {213, "Rope"},
    {214, "As found"},
    {215, "Dev. %"},
    {216, "Target"},
    {217, "As left"},
    {218, "State"},
    {219, "Result"},
    {220, "PASS"},
    {221, "FAIL"},
    {222, "NOT ASSESSED"},
    {223, "Rule: pass when the spread of the rope loads as left (largest minus smallest) does not "
          "exceed the device's allowed rope difference of %1."},
    {224, "Rule: pass when the spread of the rope loads as left (largest minus smallest) does not "
          "exceed the device's rope difference relay threshold of %1."},
    {225, "Ropes outside the mean ± half the allowed difference: %1"},
    {226, "No parameter block was read; without the device's limit the loads are not assessed."},
    {227, "The device's allowed rope difference is 0 or negative; the loads are not assessed."},
    {228, "There is no load after the adjustment; the loads are not assessed."},
    {229, "%1: mean %2, minimum %3, maximum %4, spread %5 (%6 %)"},
    {230, "Record files (embedded) and their SHA-256"},
    {231, "Technician's signature"},
    {232, "Customer's signature"},
    {233, "Mean"},
    {234, "Allowed band"},
    {235, "HIGH"},
    {236, "LOW"},
    {237, "The report could not be written:\n%1\n(%2)"},
    {238, "Loads: each rope's mean over the last 2 s of each run (%1 and %2 frames)."},
    {239, "Place, date"},
    {240, "&Open measurement..."},
    {241, "%1 – %2"},
    {242, "Rope %1"},
    {243, "&Fit all"},
    {244, "Export range as &CSV..."},
    {245, "Export chart as &PNG..."},
    {246, "Cancel &loading"},
    {247, "Series"},
    {248, "At cursor"},
    {249, "Mean"},
    {250, "Minimum"},
    {251, "Maximum"},
    {252, "Std. dev."},
    {253, "Spread of the means: %1 %2 (%3 %)"},
    {254, "Cursor: frame %1"},
    {255, "Range: frames %1 to %2 (%3 frames)"},
    {256, "The file cannot be opened:\n%1\n(%2)"},
    {257, "The file is not a measurement:\n%1\n(%2)"},
    {258, "The measurement %1 is faulty in line %2: %3.\nIt is shown up to the line before."},
    {259, "Open measurement"},
    {260, "CSV file"},
    {261, "PNG image"},
    {262, "The file could not be written:\n%1"},
    {263, "Chart of the rope loads"},
    {264, "Values at the cursor and over the range"},
    {265, "Loading..."},
    {266, "the file is empty"},
    {267, "binary data, not lines of text"},
    {268, "the first line is not a date"},
    {269, "load %1 is not a whole number followed by ';'"},
    {270, "the line holds %1 loads instead of 12"},
    {271, "text follows the twelfth load"},
    {272, "the line is empty"},
    {273, "the file ends inside the line"},
    {274, "Series"},
    {275, "&Range = all visible"},
    {61713, "Please enter a number."},
    {61714, "Please enter an integer between %1 and %2."},
    {61715, "Please enter a number between %1 and %2."},
    {61719, "Please enter a positive integer."},
};
constexpr auto kStringTable = MakeStringTable<CountBlocks(kStrings)>(kStrings);

constexpr const char* kAboutTexts[] = {"", "Tensiq Version 1.4",
                                       "Rope load measuring system for lifts", "OK"};
constexpr auto kAboutControls = WithTexts(kAboutBoxLayout, kAboutTexts);

constexpr const char* kMainTexts[] = {
    "Read\nparameters",                // 1002
    "Write\nparameters",               // 1001
    "",                                // 1005
    "",                                // 1008
    "",                                // 1010
    "",                                // 1012
    "Break",                           // 1019
    "Make",                            // 1020
    "Break",                           // 1021
    "Make",                            // 1022
    "Break",                           // 1023
    "Make",                            // 1024
    "Break",                           // 1025
    "Make",                            // 1026
    "",                                // 1003
    "",                                // 1014
    "",                                // 1016
    "",                                // 1018
    "",                                // 1043
    "Start",                           // 1040
    "Start rope tension assistant",    // 1041
    "Next rope",                       // 1044
    "Quit",                            // 1
    "Tare load",                       // 1004
    "kg",                              // 1058
    "Empty load relay",                // 1006
    "kg",                              // 1054
    "Full load relay",                 // 1007
    "kg",                              // 1055
    "Overload relay",                  // 1009
    "kg",                              // 1056
    "Slack rope and rope diff. relay", // 1011
    "kg",                              // 1057
    "Rope difference",                 // 1013
    "kg",                              // 1050
    "10V = ",                          // 1015
    "kg",                              // 1059
    "Number of ropes",                 // 1017
    "Progress1",                       // 1027
    "Progress1",                       // 1028
    "Progress1",                       // 1029
    "Progress1",                       // 1030
    "Progress1",                       // 1031
    "Progress1",                       // 1032
    "Progress1",                       // 1033
    "Progress1",                       // 1034
    "Progress1",                       // 1035
    "Progress1",                       // 1036
    "Progress1",                       // 1037
    "Progress1",                       // 1038
    "Static",                          // 1039
    "Rope 1",                          // rope1
    "Rope 2",                          // rope2
    "Rope 3",                          // rope3
    "Rope 4",                          // rope4
    "Rope 5",                          // rope5
    "Rope 6",                          // rope6
    "Rope 7",                          // rope7
    "Rope 8",                          // rope8
    "Rope 9",                          // rope9
    "Rope 10",                         // rope10
    "Rope 11",                         // rope11
    "Rope 12",                         // rope12
    "Factor",                          // 1042
    "Custom1",                         // 1045
    "",                                // 1046
    "",                                // 1047
    "Read",                            // 1048
    "Write",                           // 1049
    "Units",                           // group1
    "kg",                              // 1051
    "tn.sh.",                          // 1052
    "tn.l.",                           // 1053
    "lbs",                             // 1060
    "Live zero",                       // 1061
    "DC output",                       // group2
    "apply to payload",                // 1062
    "Sensor type",                     // sensortype
    "Sensor A",                        // 1063
    "Sensor B",                        // 1064
    "Sensor C",                        // 1065
    "Sensor D",                        // 1066
    "",                                // 1067
    "V (1 V = 2 mA)",                  // 1068
};
constexpr auto kMainControls = WithTexts(kMainDialogLayout, kMainTexts);

constexpr auto kDialogs = MakeDialogs("About Tensiq", kAboutControls, kMainControls);

constexpr ResourceModule kModule{kStringTable.data(), kStringTable.size(), kDialogs.data(),
                                 kDialogs.size(),     kProgramIcons,       kProgramIconCount};

} // namespace

} // namespace tensiq::res

extern "C" __attribute__((visibility("default"))) const tensiq::res::ResourceModule*
tensiq_resource_module() {
    return &tensiq::res::kModule;
}
