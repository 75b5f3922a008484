// The shared procedures of the data classes, one header per job.
#pragma once

#include "exchange/modFunction_barcodes.h"
#include "exchange/modFunction_conflict.h"
#include "exchange/modFunction_connection.h"
#include "exchange/modFunction_errors.h"
#include "exchange/modFunction_import.h"
#include "exchange/modFunction_rights.h"
#include "exchange/modFunction_sql.h"
#include "exchange/modFunction_text.h"
#include "exchange/modFunction_xml.h"
