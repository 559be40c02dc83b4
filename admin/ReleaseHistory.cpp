#include "admin/ReleaseHistory.h"

namespace sonoria {

const char* const kReleaseHistory =
    "2013-03-26\r\nSONORIA-S2 V2.3\r\n1.支持新机型,软件更名为 SONORIA-S2。\r\n2.新机型的遥控器键码默认值与旧机型相同。\r\n \t\t\r\n"
    "2013-02-18\r\nSONORIA-S1 V2.2\r\n1.增加子版本号显示。\r\n \t\t\r\n"
    "2013-01-07\r\nSONORIA-S1 V2.1\r\n1.去掉软件升级功能。\r\n \t\t\r\n"
    "2012-11-20\r\nSONORIA-S1 V2.0\r\n1.修正红外遥控器学习后部分按键无效的问题。\r\n2.修正遥控键码文件载入后没有立即生效的问题。\r\n \t\t\r\n"
    "2012-10-15\r\nSONORIA-S1 V1.9\r\n1.修正载入模式后部分参数显示不正确的问题。\r\n \t\t\r\n"
    "2012-09-03\r\nSONORIA-S1 V1.8\r\n1.修正开机音量设置保存后无效的问题。\r\n2.修正开机音量在英文界面下显示不正确的问题。\r\n \t\t\r\n"
    "2012-07-23\r\nSONORIA-S1 V1.7\r\n1.增加无线话筒支持。\r\n \t\t\r\n"
    "2012-06-25\r\nSONORIA-S1 V1.6\r\n1.修正载入模式时偶尔失败的问题。\r\n2.修正遥控器学习窗口不能自动关闭的问题。\r\n \t\t\r\n"
    "2012-05-28\r\nSONORIA-S1 V1.5\r\n1.修正开机音量可超过最大音量的问题。\r\n2.修正开机音量偶尔会丢失的问题。\r\n \t\t\r\n"
    "2012-05-02\r\nSONORIA-S1 V1.4\r\n1.修正红外遥控器键码保存失败的问题。\r\n \t\t\r\n"
    "2012-04-16\r\nSONORIA-S1 V1.3\r\n1.修正切换模式后音量显示不正确的问题。\r\n \t\t\r\n"
    "2012-03-27\r\nSONORIA-S1 V1.0\r\n1.第一版发布。";

}  // namespace sonoria
