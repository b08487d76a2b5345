// The documents that describe model objects; shared by every command so
// that a material, class or database reads the same wherever it appears.
#pragma once

#include <kxtmat/kxtmat.h>

#include "document.h"

namespace kxt::cli {

// "native", "din", "custom" or "sustainability-extras".
const char* DatabaseTypeName(eKxtMaterialBDType type);

// {index, type, library, path, classes, materials}: one entry of the database list.
Json DescribeDatabase(const kxtMaterialDB& db, int index);
// {name, language_name}.
Json DescribeClass(const kxtMaterialClass& group);
// {library, class, material}: where a material is found.
Json DescribeReference(const kxtMaterialBase& material);
// DescribeReference of material; null for a null material.
Json DescribeReferenceOrNull(const kxtMaterialBase* material);
// {native, language, gabi, energy_parameters}; the parameters are those the
// owner stores under the process's GaBi name.
Json DescribeProcess(const kxtManufacturingProcess& process, const kxtMaterialBase& owner);
// Every field of a material.
Json DescribeMaterial(const kxtMaterialBase& material);

}  // namespace kxt::cli
