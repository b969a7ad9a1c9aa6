#include "host_release.h"

const HostRelease kHostReleases[kHostReleaseCount] = {
    {"R15.0", nullptr, 2002, "2000-02", kLookupMachineThenUser, false, kLookupMachineOnly},
    {"R16.0", "ACAD-201:804", 2004, "2004-06", kLookupUserThenMachineThenDefault, false,
     kLookupUserThenMachineThenDefault},
    {"R16.1", "ACAD-301:409", 2005, "2004-06", kLookupUserThenDefault, false, kLookupMachineOnly},
    {"R16.2", "ACAD-4001:409", 2006, "2004-06", kLookupUserThenDefault, false, kLookupMachineOnly},
    {"R17.0", "ACAD-5001:804", 2007, "2007-09", kLookupUserThenDefault, false, kLookupMachineOnly},
    {"R17.1", "ACAD-6001:804", 2008, "2007-09", kLookupUserThenDefault, false, kLookupMachineOnly},
    {"R17.2", "ACAD-7001:804", 2009, "2007-09", kLookupUserThenDefault, false, kLookupMachineOnly},
    {"R18.0", "ACAD-8001:804", 2010, "2010-12", kLookupUserThenDefault, true, kLookupMachineOnly},
    {"R18.1", "ACAD-9001:804", 2011, "2010-12", kLookupUserThenDefault, true, kLookupMachineOnly},
    {"R18.2", "ACAD-A001:804", 2012, "2010-12", kLookupUserThenDefault, true, kLookupMachineOnly},
};
