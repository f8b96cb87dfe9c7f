#include "print/PrintServer.h"

#include <cups/cups.h>

namespace etiqo {

PrintServerScope::PrintServerScope(const std::string& printer) : m_queue(printer) {
    const std::size_t at = printer.rfind('@');
    if (at == std::string::npos || at == 0 || at + 1 == printer.size()) {
        return;
    }
    m_queue = printer.substr(0, at);
    m_previousServer = cupsServer();
    m_previousPort = ippPort();  // a server named without a port leaves the port as it was
    cupsSetServer(printer.substr(at + 1).c_str());
}

PrintServerScope::~PrintServerScope() {
    if (m_previousServer) {
        cupsSetServer(m_previousServer->c_str());
        ippSetPort(m_previousPort);
    }
}

}  // namespace etiqo
