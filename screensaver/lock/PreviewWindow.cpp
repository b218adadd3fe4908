#include "lock/PreviewWindow.h"

int screenveil::RunPreview(std::uint64_t)
{
    return 1;
}
