#include "MessageService.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<CMessageService*> g_service {nullptr};

const char* IconWord(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Error:
        return "error";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::Information:
        break;
    }
    return "information";
}

} // namespace

CMessageService::~CMessageService() = default;

void CMessageService::Install(CMessageService* service) noexcept
{
    g_service.store(service);
}

void CMessageService::Report(const std::string& caption, const std::string& text, MessageIcon icon) noexcept
{
    if (CMessageService* service = g_service.load()) {
        service->ShowMessage(caption, text, icon);
        return;
    }
    // Without a user interface the message must still reach someone.
    std::fprintf(stderr, "[%s] %s\n%s\n", IconWord(icon), caption.c_str(), text.c_str());
}

bool CMessageService::AskYesNo(const std::string& caption, const std::string& text) noexcept
{
    ShowMessage(caption, text, MessageIcon::Warning);
    return false;
}

bool CMessageService::Ask(const std::string& caption, const std::string& text) noexcept
{
    if (CMessageService* service = g_service.load())
        return service->AskYesNo(caption, text);
    std::fprintf(stderr, "[question] %s\n%s\n(answered No: nobody to ask)\n", caption.c_str(), text.c_str());
    return false;
}
