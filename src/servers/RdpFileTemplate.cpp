#include "servers/RdpFileTemplate.h"

#include "net/Text.h"

namespace vpsdesk::servers {

std::string_view RdpFileTemplate() {
    static constexpr std::string_view kTemplate =
        "screen mode id:i:%窗口模式%\r\n"
        "desktopwidth:i:%窗口宽度%\r\n"
        "desktopheight:i:%窗口高度%\r\n"
        "session bpp:i:%监视器颜色%\r\n"
        "winposstr:s:2,3,0,0,900,700\r\n"
        "full address:s:%服务器地址%\r\n"
        "compression:i:%压缩%\r\n"
        "keyboardhook:i:%组合键%\r\n"
        "audiomode:i:%音频播放%\r\n"
        "redirectdrives:i:0\r\n"
        "redirectprinters:i:%打印机%\r\n"
        "redirectcomports:i:%串行口%\r\n"
        "redirectsmartcards:i:%智能卡%\r\n"
        "displayconnectionbar:i:%全屏栏%\r\n"
        "autoreconnection enabled:i:%重连%\r\n"
        "username:s:%账号%\r\n"
        "domain:s:%域%\r\n"
        "alternate shell:s:\r\n"
        "shell working directory:s:\r\n"
        "password 51:b:%密码%\r\n"
        "disable wallpaper:i:%桌面背景%\r\n"
        "disable full window drag:i:1\r\n"
        "disable menu anims:i:1\r\n"
        "disable themes:i:%桌面主题%\r\n"
        "disable cursor setting:i:0\r\n"
        "bitmapcachepersistenable:i:1\r\n"
        "use multimon:i:0\r\n"
        "audiocapturemode:i:%录音%\r\n"
        "videoplaybackmode:i:1\r\n"
        "connection type:i:2\r\n"
        "allow font smoothing:i:0\r\n"
        "allow desktop composition:i:0\r\n"
        "redirectclipboard:i:%剪贴板%\r\n"
        "redirectposdevices:i:0\r\n"
        "redirectdirectx:i:1\r\n"
        "drivestoredirect:s:%映射磁盘%\r\n"
        "devicestoredirect:s:%PnP设备%\r\n"
        "authentication level:i:0\r\n"
        "prompt for credentials:i:0\r\n"
        "negotiate security layer:i:1\r\n"
        "remoteapplicationmode:i:0\r\n"
        "gatewayhostname:s:\r\n"
        "gatewayusagemethod:i:4\r\n"
        "gatewaycredentialssource:i:4\r\n"
        "gatewayprofileusagemethod:i:0\r\n"
        "promptcredentialonce:i:1\r\n"
        "use redirection server name:i:0";
    return kTemplate;
}

RdpPlaceholders RdpPlaceholderValues(const RdpFileFields& f) {
    return {
        {"%服务器地址%", f.full_address},
        {"%账号%", "administrator"},
        {"%密码%", f.protected_password},
        {"%域%", ""},
        {"%窗口模式%", f.window_mode},
        {"%窗口宽度%", f.width},
        {"%窗口高度%", f.height},
        {"%监视器颜色%", f.color_depth},
        {"%压缩%", f.compression},
        {"%组合键%", f.key_combinations},
        {"%音频播放%", f.audio_mode},
        {"%打印机%", f.printers},
        {"%串行口%", f.serial_ports},
        {"%智能卡%", f.smart_cards},
        {"%映射磁盘%", f.drives},
        {"%PnP设备%", f.pnp_devices},
        {"%剪贴板%", f.clipboard},
        {"%录音%", f.audio_capture},
        {"%全屏栏%", f.connection_bar},
        {"%重连%", f.auto_reconnect},
        {"%桌面背景%", f.desktop_background},
        {"%桌面主题%", f.desktop_theme},
    };
}

std::string FillRdpTemplate(const RdpPlaceholders& values) {
    std::string text(RdpFileTemplate());
    for (const auto& [placeholder, value] : values)
        text = net::ReplaceText(text, placeholder, value);
    return text;
}

}  // namespace vpsdesk::servers
