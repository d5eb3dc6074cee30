#include "net/WinHttpStatus.h"

namespace vpsdesk::net {

std::string_view WinHttpStatusText(WinHttpFailure failure) {
    switch (failure) {
        case WinHttpFailure::Unsupported:
            return "700 当前系统不支持WinHttp服务!";
        case WinHttpFailure::BadUrl:
            return "701 解析URL地址失败!";
        case WinHttpFailure::Session:
            return "702 创建WinHttp会话失败!";
        case WinHttpFailure::Connection:
            return "703 创建WinHttp连接失败!";
        case WinHttpFailure::Request:
            return "704 创建WinHttp请求失败!";
        case WinHttpFailure::Timeouts:
            return "705 设置超时时间失败!";
        case WinHttpFailure::Credentials:
            return "707 设置代理凭证失败!";
        case WinHttpFailure::Certificates:
            return "忽略错误/证书错误  失败！";
        case WinHttpFailure::Cookies:
            return "708 禁止自动设置Cookies失败!";
        case WinHttpFailure::Redirects:
            return "709 重定向设置失败!";
        case WinHttpFailure::Headers:
            return "710 设置协议头失败!";
        case WinHttpFailure::Send:
            return "711 发送请求失败!";
        case WinHttpFailure::NoResponse:
            return "712 服务器未响应!";
        case WinHttpFailure::Read:
            return "713 读取数据失败!";
    }
    return {};
}

}  // namespace vpsdesk::net
