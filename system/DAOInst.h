// The Jet and DAO database runtime the product needs: eight runtime files moved from the
// folder the "DAO_FILES" group extracted them to into the system folder and the shared DAO
// folder, through the system's version installer, registered and counted, with a log.
#pragma once

#include <string>

namespace DAOInst {

// Installs the eight runtime files found in folder ("$\..." is relative to the running
// program's folder); false as soon as one cannot be installed or anything fails. What was
// installed stays. The log "Install.log" is written into the folder.
bool InstallDatabaseRuntime(const std::string& folder);

// The common files folder of HKEY_LOCAL_MACHINE's "CommonFilesDir"; when the value is
// missing, the Windows drive's "\Program Files\Common Files", written back for later readers.
std::string GetCommonFilesDir();

// Where DAO3032.dll always goes: under the common files folder, or on Windows 3.x
// generations (major version 3 and lower) the Windows folder's "\MSApps\DAO".
std::string SharedDaoFolder();

}  // namespace DAOInst
