#include "HtmlPage.h"

namespace platformd {

std::string HtmlPage(const std::string& title, const std::string& body) {
    // The inline icon keeps the browser from asking for /favicon.ico, whose 404 would be an
    // error in the page's console.
    return "<!DOCTYPE html><html><head><meta charset=\"GBK\"><link rel=\"icon\" "
           "href=\"data:,\"><title>" +
           title +
           "</title></head><body style=\"font-family:sans-serif;margin:40px\"><h1>" + title +
           "</h1>" + body + "</body></html>";
}

std::string HtmlEscape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace platformd
