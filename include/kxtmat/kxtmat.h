// The public API of kxtmat: every exported class and enumeration.
#pragma once

#include "kxtmat/enums.h"
#include "kxtmat/export.h"
#include "kxtmat/lint.h"
#include "kxtmat/manufacturing_process.h"
#include "kxtmat/mat_phys_prop.h"
#include "kxtmat/material_base.h"
#include "kxtmat/material_class.h"
#include "kxtmat/material_cost_data.h"
#include "kxtmat/material_db.h"
#include "kxtmat/material_dbs_manager.h"
#include "kxtmat/material_walk.h"
#include "kxtmat/search_criteria.h"
