#include "tools/datagen/content.h"

namespace sr::datagen {
namespace {

recdb::FieldDescriptor Field(const char* name, recdb::FieldType type, int32_t text_width = 0) {
  recdb::FieldDescriptor field;
  field.name = name;
  field.type = type;
  field.text_width = text_width;
  return field;
}

}  // namespace

std::vector<recdb::FieldDescriptor> RelayFields() {
  using recdb::FieldType;
  std::vector<recdb::FieldDescriptor> fields = {Field("编号", FieldType::kText, 20),
                                                Field("姓名", FieldType::kText, 20)};
  for (const char* name : {"基本工资", "岗位工资", "绩效工资", "加班工资", "津贴", "补贴",
                           "奖金", "其他收入", "应发工资", "养老保险(免税)", "医疗保险(免税)",
                           "失业保险(免税)", "住房公积金(免税)", "工会会费", "其他扣款",
                           "事假扣款", "个人所得税", "扣款合计", "实发工资"}) {
    fields.push_back(Field(name, FieldType::kDouble));
  }
  fields.push_back(Field("备注", FieldType::kText, 100));
  return fields;
}

std::vector<recdb::FieldDescriptor> TaxTableFields() {
  using recdb::FieldType;
  return {Field("起征点", FieldType::kInt),       Field("下限", FieldType::kInt),
          Field("上限", FieldType::kInt),         Field("税率", FieldType::kInt),
          Field("速算扣除数", FieldType::kInt),   Field("说明", FieldType::kText, 40)};
}

std::vector<TaxRecord> TaxTableRecords() {
  // The lowest bracket starts at 1, not 0: a lower bound of 0 marks a bracket not in use.
  return {
      {5000, 1, 3000, 3, 0},           {0, 3000, 12000, 10, 210},
      {0, 12000, 25000, 20, 1410},     {0, 25000, 35000, 25, 2660},
      {0, 35000, 55000, 30, 4410},     {0, 55000, 80000, 35, 7160},
      {0, 80000, 0, 45, 15160},        {0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0},
  };
}

std::vector<TaxRecord> ResidentTableRecords() {
  return {
      {5000, 1, 36000, 3, 0},          {0, 36000, 144000, 10, 2520},
      {0, 144000, 300000, 20, 16920},  {0, 300000, 420000, 25, 31920},
      {0, 420000, 660000, 30, 52920},  {0, 660000, 960000, 35, 85920},
      {0, 960000, 0, 45, 181920},      {0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0},
  };
}

}  // namespace sr::datagen
