// The SNMP++ classes the module is written against, in namespace Snmp_pp.
#pragma once

#include "snmp/address.h"
#include "snmp/octet_str.h"
#include "snmp/oid.h"
#include "snmp/pdu.h"
#include "snmp/smi.h"
#include "snmp/snmp_errors.h"
#include "snmp/snmp_session.h"
#include "snmp/target.h"
#include "snmp/vb.h"
