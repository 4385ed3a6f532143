#include "orv_replaced_procs_context.h"

OrvProc OrvReplacedProcsContext::getProcAddress(const char* name) {
    auto replaced = procs.find(name);
    return replaced != procs.end() ? replaced->second : m_real->getProcAddress(name);
}
