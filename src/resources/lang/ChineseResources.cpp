// The Chinese language library (tq_chn): the same ids and types as the program's own resources.

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
    {101, "关于 Tensiq(&O)..."},
    {102, "无法与数据流同步！"},
    {103, "总计"},
    {104, "保存上次测量"},
    {105, "切换视图"},
    {106, "调整下一根绳"},
    {107, "开始/停止测量"},
    {108, "退出程序"},
    {109, "启动绳张力助手，方便地调整各根绳"},
    {110, "写入参数"},
    {111, "读取参数"},
    {112, "未连接到 Tensiq！"},
    {113, "错误"},
    {114, "无法读取参数！"},
    {115, "尚未读取参数！"},
    {116, "无法写入参数！"},
    {117, "提示"},
    {118, "参数已成功写入"},
    {119, "开始"},
    {120, "停止"},
    {121, "请注意：在调整绳张力期间\n总重量不得发生变化！"},
    {122, "停止绳张力助手"},
    {123, "启动绳张力助手"},
    {124, "文本文件"},
    {125, "所有文件"},
    {126, "另存为"},
    {127, "在终端中运行 “tensiq-cli doctor” 可列出常见原因及其解决办法。"},
    {160, "绳张力助手至少需要两根绳。\n请检查绳的数量。"},
    {161, "尚无可保存的测量。"},
    {162, "无法在该位置写入文件：\n%1"},
    {163, "磁盘已满，测量未保存：\n%1"},
    {164, "无法保存测量：\n%1\n(%2)"},
    {166, "%1 已存在。\n要替换它吗？"},
    {240, "打开测量(&O)..."},
    {241, "%1 – %2"},
    {242, "绳 %1"},
    {243, "全部显示(&A)"},
    {244, "将范围导出为 CSV(&C)..."},
    {245, "将图表导出为 PNG(&P)..."},
    {246, "取消加载(&L)"},
    {247, "序列"},
    {248, "光标处"},
    {249, "平均值"},
    {250, "最小值"},
    {251, "最大值"},
    {252, "标准差"},
    {253, "平均值差异：%1 %2 (%3 %)"},
    {254, "光标：第 %1 帧"},
    {255, "范围：第 %1 至 %2 帧（%3 帧）"},
    {256, "无法打开文件：\n%1\n(%2)"},
    {257, "该文件不是测量记录：\n%1\n(%2)"},
    {258, "测量 %1 在第 %2 行有误：%3。\n只显示到前一行。"},
    {259, "打开测量"},
    {260, "CSV 文件"},
    {261, "PNG 图像"},
    {262, "无法写入文件：\n%1"},
    {263, "绳负载图表"},
    {264, "光标处和范围内的数值"},
    {265, "正在加载..."},
    {266, "文件为空"},
    {267, "二进制数据，不是文本行"},
    {268, "第一行不是日期"},
    {269, "第 %1 个负载不是以“;”结尾的整数"},
    {270, "该行只有 %1 个负载，应为 12 个"},
    {271, "第十二个负载后还有文本"},
    {272, "该行为空"},
    {273, "文件在该行中间结束"},
    {274, "序列"},
    {275, "范围 = 全部可见(&R)"},
    {61713, "请输入一个数字。"},
    {61714, "请输入 %1 到 %2 之间的整数。"},
    {61715, "请输入 %1 到 %2 之间的数字。"},
    {61719, "请输入一个正整数。"},
};
constexpr auto kStringTable = MakeStringTable<CountBlocks(kStrings)>(kStrings);

constexpr const char* kAboutTexts[] = {"", "Tensiq 版本 1.4", "电梯钢丝绳载荷测量系统", "确定"};
constexpr auto kAboutControls = WithTexts(kAboutBoxLayout, kAboutTexts);

constexpr const char* kMainTexts[] = {
    "读取\n参数",       // 1002
    "写入\n参数",       // 1001
    "",                 // 1005
    "",                 // 1008
    "",                 // 1010
    "",                 // 1012
    "常闭",             // 1019
    "常开",             // 1020
    "常闭",             // 1021
    "常开",             // 1022
    "常闭",             // 1023
    "常开",             // 1024
    "常闭",             // 1025
    "常开",             // 1026
    "",                 // 1003
    "",                 // 1014
    "",                 // 1016
    "",                 // 1018
    "",                 // 1043
    "开始",             // 1040
    "启动绳张力助手",   // 1041
    "下一根绳",         // 1044
    "退出",             // 1
    "零载 (皮重)",      // 1004
    "kg",               // 1058
    "空载继电器",       // 1006
    "kg",               // 1054
    "满载继电器",       // 1007
    "kg",               // 1055
    "超载继电器",       // 1009
    "kg",               // 1056
    "松绳及绳差继电器", // 1011
    "kg",               // 1057
    "允许绳差",         // 1013
    "kg",               // 1050
    "10V = ",           // 1015
    "kg",               // 1059
    "绳数",             // 1017
    "Progress1",        // 1027
    "Progress1",        // 1028
    "Progress1",        // 1029
    "Progress1",        // 1030
    "Progress1",        // 1031
    "Progress1",        // 1032
    "Progress1",        // 1033
    "Progress1",        // 1034
    "Progress1",        // 1035
    "Progress1",        // 1036
    "Progress1",        // 1037
    "Progress1",        // 1038
    "Static",           // 1039
    "绳 1",             // rope1
    "绳 2",             // rope2
    "绳 3",             // rope3
    "绳 4",             // rope4
    "绳 5",             // rope5
    "绳 6",             // rope6
    "绳 7",             // rope7
    "绳 8",             // rope8
    "绳 9",             // rope9
    "绳 10",            // rope10
    "绳 11",            // rope11
    "绳 12",            // rope12
    "系数",             // 1042
    "Custom1",          // 1045
    "",                 // 1046
    "",                 // 1047
    "Read",             // 1048
    "Write",            // 1049
    "单位",             // group1
    "kg",               // 1051
    "tn.sh.",           // 1052
    "tn.l.",            // 1053
    "lbs",              // 1060
    "实时零点",         // 1061
    "直流输出",         // group2
    "用于载荷",         // 1062
    "传感器类型",       // sensortype
    "A 型",             // 1063
    "B 型",             // 1064
    "C 型",             // 1065
    "D 型",             // 1066
    "",                 // 1067
    "V (1 V = 2 mA)",   // 1068
};
constexpr auto kMainControls = WithTexts(kMainDialogLayout, kMainTexts);

constexpr auto kDialogs = MakeDialogs("关于 Tensiq", kAboutControls, kMainControls);

constexpr ResourceModule kModule{kStringTable.data(), kStringTable.size(), kDialogs.data(),
                                 kDialogs.size(),     kProgramIcons,       kProgramIconCount};

} // namespace

} // namespace tensiq::res

extern "C" __attribute__((visibility("default"))) const tensiq::res::ResourceModule*
tensiq_resource_module() {
    return &tensiq::res::kModule;
}
