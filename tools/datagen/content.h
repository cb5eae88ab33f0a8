#ifndef SALARY_TOOLS_DATAGEN_CONTENT_H_
#define SALARY_TOOLS_DATAGEN_CONTENT_H_

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/recdb/format.h"

// What the two data files installed with the program hold.
namespace sr::datagen {

inline constexpr char kRelayFileName[] = "ZhongZhuan.rgq";
inline constexpr char kTaxTableFileName[] = "设置税率表.dat";
inline constexpr char kTaxTablePassword[] = "kpm4825031";
inline constexpr char kResidentTableFileName[] = "居民预扣率表.dat";

// The relay file's 22 fields: the default column titles of a new register. Text at 1, 2 and
// 22, double at 3 to 21; the social insurance and housing fund items are marked tax-exempt.
std::vector<recdb::FieldDescriptor> RelayFields();

// The tax rate table's six fields: int at 1 to 5, text at 6.
std::vector<recdb::FieldDescriptor> TaxTableFields();

// One record of the tax rate table: fields 1 to 5 (field 6, the text, is empty).
using TaxRecord = std::array<int32_t, 5>;

// Nine records: the threshold in record 1 field 1, then bracket k in record k as lower bound,
// upper bound (0 for the open-ended one), rate in percent and quick deduction. The monthly
// table for wages: threshold 5000, seven brackets from 3% to 45%, two not in use (all zero).
std::vector<TaxRecord> TaxTableRecords();

// The resident table of the cumulative method, in the same layout: the monthly basic deduction
// 5000 in the threshold cell, then seven brackets on the year's taxable income so far, from 3%
// to 45%, two not in use.
std::vector<TaxRecord> ResidentTableRecords();

}  // namespace sr::datagen

#endif  // SALARY_TOOLS_DATAGEN_CONTENT_H_
