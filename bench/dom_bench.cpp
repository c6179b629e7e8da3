// Document model: loading a large tab page, property changes with the change record on (what
// every handler does before the browser gets its patch), building named-driver rows through
// cell innerHTML, and the interaction paths a person drives (typing, row clicks). The Cover
// tab's own page file: loading it (read and parsed on each switch) and the lookups by id its
// load logic makes, and the heap each loaded copy holds.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dom/document.h"
#include "dom/page_templates.h"
#include "dom/user_actions.h"
#include "form_page.h"

namespace cn::bench {
namespace {

using dom::Document;
using dom::Element;
using dom::StyleName;

// ---- (a) Loading the page ---------------------------------------------------------------------

void BM_ParseFormPage(benchmark::State& state) {
  const FormPage page = MakeFormPage();
  for (auto _ : state) {
    auto document = Document::Parse(page.html);
    benchmark::DoNotOptimize(document);
  }
  state.counters["form_elements"] = page.form_elements;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.html.size()));
}
BENCHMARK(BM_ParseFormPage)->Unit(benchmark::kMicrosecond);

const std::filesystem::path kCoverPage = std::filesystem::path(COVERNOTE_PAGES_DIR) / "CNAACov.htm";

// Heap in use (bytes handed out by malloc and not yet freed).
std::size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_LoadCoverPageFile(benchmark::State& state) {
  for (auto _ : state) {
    auto document = Document::Load(kCoverPage);
    benchmark::DoNotOptimize(document);
  }
}
BENCHMARK(BM_LoadCoverPageFile)->Unit(benchmark::kMicrosecond);

// What a tab switch pays with the page parsed once per process.
void BM_LoadCoverPageFromTemplate(benchmark::State& state) {
  dom::PageTemplates templates;
  templates.Load(kCoverPage);
  for (auto _ : state) {
    auto document = templates.Load(kCoverPage);
    benchmark::DoNotOptimize(document);
  }
}
BENCHMARK(BM_LoadCoverPageFromTemplate)->Unit(benchmark::kMicrosecond);

// The heap one loaded Cover page holds, over 50 pages kept at once: parsed each time (0) or
// copied from the page parsed once (1).
void BM_CoverPageHeapBytes(benchmark::State& state) {
  constexpr int kCopies = 50;
  dom::PageTemplates templates;
  const auto load = [&] { return state.range(0) == 0 ? Document::Load(kCoverPage) : templates.Load(kCoverPage); };
  load();
  double bytes_per_page = 0;
  for (auto _ : state) {
    std::vector<std::shared_ptr<Document>> pages;
    pages.reserve(kCopies);
    const std::size_t before = HeapInUse();
    for (int i = 0; i < kCopies; ++i) pages.push_back(load());
    bytes_per_page = static_cast<double>(HeapInUse() - before) / kCopies;
  }
  state.counters["heap_bytes_per_page"] = bytes_per_page;
}
BENCHMARK(BM_CoverPageHeapBytes)->ArgName("template")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The Cover page's load logic looks up a few dozen ids, from the top of the page to its end.
void BM_FindElementByIdOnCoverPage(benchmark::State& state) {
  const auto document = Document::Load(kCoverPage);
  std::vector<std::string> ids;
  for (const auto& element : document->All()) {
    if (element->HasAttribute("id")) ids.push_back(element->Id());
  }
  ids.push_back("noSuchElement");
  for (auto _ : state) {
    for (const std::string& id : ids) benchmark::DoNotOptimize(document->FindElementById(id));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * ids.size()));
}
BENCHMARK(BM_FindElementByIdOnCoverPage)->Unit(benchmark::kMicrosecond);

// ---- (b) Property changes with the change record on ----------------------------------------

enum class Kind { kValue, kDisabled, kReadOnly, kBackgroundColor, kClassName };

struct Change {
  std::shared_ptr<Element> element;
  Kind kind;
  bool initially_read_only;
};

// Every change alternates between two values, so each one really changes something.
void Apply(const Change& change, bool flip) {
  Element& e = *change.element;
  switch (change.kind) {
    case Kind::kValue:
      e.SetValue(flip ? "CHANGED" : "VALUE");
      break;
    case Kind::kDisabled:
      e.SetDisabled(flip);
      break;
    case Kind::kReadOnly:
      e.SetReadOnly(flip != change.initially_read_only);
      break;
    case Kind::kBackgroundColor:
      e.SetStyle(StyleName::kBackgroundColor, flip ? "yellow" : "buttonface");
      break;
    case Kind::kClassName:
      e.SetClassName(flip ? "clsChanged" : "clsNormal");
      break;
  }
}

constexpr std::size_t kChanges = 1000;

std::vector<Change> PlanChanges(const Document& document, const FormPage& page) {
  std::vector<Change> plan;
  for (const std::string& id : page.control_ids) {
    const std::shared_ptr<Element> element = document.GetElementById(id);
    const bool text_box = element->Is("INPUT") && element->Type() == "text";
    for (const Kind kind : {Kind::kValue, Kind::kDisabled, Kind::kReadOnly, Kind::kBackgroundColor,
                            Kind::kClassName}) {
      if (!text_box && (kind == Kind::kValue || kind == Kind::kReadOnly)) continue;
      plan.push_back({element, kind, element->ReadOnly()});
    }
  }
  plan.resize(kChanges);
  return plan;
}

void BM_PropertyChangesRecorded(benchmark::State& state) {
  const FormPage page = MakeFormPage();
  const auto document = Document::Parse(page.html);
  const std::vector<Change> plan = PlanChanges(*document, page);
  document->SetRecording(true);
  bool flip = true;
  std::size_t mutations = 0;
  for (auto _ : state) {
    for (const Change& change : plan) Apply(change, flip);
    const std::vector<dom::Mutation> taken = document->TakeMutations();
    mutations = taken.size();
    benchmark::DoNotOptimize(taken.data());
    flip = !flip;
  }
  state.counters["mutations"] = static_cast<double>(mutations);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kChanges));
}
BENCHMARK(BM_PropertyChangesRecorded)->Unit(benchmark::kMicrosecond);

// ---- (c) Named-driver rows through cell innerHTML ---------------------------------------------

struct RowCell {
  std::string_view width;
  std::string_view opening;
  std::string_view id;
  std::string_view closing;
};

constexpr RowCell kDriverCells[] = {
    {"15%", "<Input tabindex=1 id =", "txtDrv", ">"},
    {"14%", "<Input tabindex=1 id =", "txtICNo", " maxlength=14>"},
    {"14%", "<Input tabindex=1 id =", "txtDOB", ">"},
    {"14%", "<Input tabindex=1 id =", "txtLicenceDate", ">"},
    {"10%", "<Select tabindex=1 id =", "txtGender", "></Select>"},
    {"19%", "<Select tabindex=1 id =", "cboOccupation", "></Select>"},
    {"14%", "<Input tabindex=1 id =", "txtRelationship", ">"},
};

constexpr int kRows = 20;
constexpr int kOccupations = 25;

std::string Script(std::string_view command, int row) {
  return "kvExecuteCommand.innerText='" + std::string(command) +
         "{#+#}' + event.srcElement.id + '{#,#}" + std::to_string(row) +
         "';kvExecuteCommand.click();";
}

void Fill(Document& document, Element& select, int count) {
  select.SetInnerHtml("");
  for (int k = 0; k < count; ++k) {
    const std::shared_ptr<Element> option = document.CreateElement("OPTION");
    select.Options().Add(option);
    option->SetText("CHOICE " + std::to_string(k));
    option->SetValue(std::to_string(k));
  }
}

void AddDriverRow(Document& document, Element& body, int i) {
  const std::shared_ptr<Element> row = body.InsertRow(-1);
  row->SetId("rowDrv" + std::to_string(i));
  row->SetClassName(i % 2 == 0 ? "clsOddRow" : "clsEvenRow");
  for (const RowCell& c : kDriverCells) {
    const std::shared_ptr<Element> cell = row->InsertCell(-1);
    cell->SetWidth(c.width);
    cell->SetInnerHtml(std::string(c.opening) + std::string(c.id) + std::string(c.closing));
  }
  row->Cells().front()->SetStyle(StyleName::kPaddingLeft, "5%");
  row->Cells().back()->SetStyle(StyleName::kPaddingRight, "5%");
  row->GetFromAll("txtDrv")->SetValue("DRIVER " + std::to_string(i));
  Fill(document, *row->GetFromAll("txtGender"), 3);
  Fill(document, *row->GetFromAll("cboOccupation"), kOccupations);
  row->GetFromAll("txtICNo")->SetValue("800101-14-5566");
  row->GetFromAll("txtDOB")->SetValue("01-Jan-1980");
  row->GetFromAll("txtLicenceDate")->SetValue("01-Jan-2000");
  row->GetFromAll("txtGender")->SetValue("1");
  row->GetFromAll("cboOccupation")->SetValue("7");
  row->GetFromAll("txtRelationship")->SetValue("SPOUSE");
  row->AddBehavior("./Behaviors/DataEntry.htc");
  row->SetAttribute("onClicked", Script("cmdHighliteRow", i));
  row->GetFromAll("txtDOB")->AddBehavior("./Behaviors/DateEntry.htc");
  for (const auto& [id, command] :
       {std::pair{"txtDrv", "DriverNameChanged"}, std::pair{"txtICNo", "DriverICChanged"},
        std::pair{"txtLicenceDate", "DriverLicenceDateChanged"},
        std::pair{"txtDOB", "DOBChanged"}}) {
    const std::shared_ptr<Element> control = row->GetFromAll(id);
    control->AddBehavior("./Behaviors/DataEntry.htc");
    control->SetAttribute("onInpChanged", Script(command, i));
  }
}

constexpr std::string_view kVehicleTab =
    "<BODY><DIV id=kvExecuteCommand style=\"DISPLAY: none\"></DIV><DIV id=divNPerson></DIV>"
    "<INPUT id=txtOutside></BODY>";

// The body table as the table builds it, in its container.
std::shared_ptr<Element> BuildBodyTable(Document& document) {
  const std::shared_ptr<Element> table = document.CreateElement("TABLE");
  const std::shared_ptr<Element> container = document.GetElementById("divNPerson");
  container->SetInnerText("");
  container->ApplyElement(table, "inside");
  table->SetRules("rows");
  table->SetStyle(StyleName::kBorderCollapse, "collapse");
  table->SetStyle(StyleName::kTableLayout, "fixed");
  table->SetWidth("100%");
  table->SetCellSpacing("0");
  return table;
}

void BM_BuildDriverRows(benchmark::State& state) {
  const auto document = Document::Parse(kVehicleTab);
  const std::shared_ptr<Element> table = BuildBodyTable(*document);
  document->SetRecording(state.range(0) != 0);
  std::size_t mutations = 0;
  for (auto _ : state) {
    while (!table->Rows().empty()) table->DeleteRow(-1);
    for (int i = 0; i < kRows; ++i) AddDriverRow(*document, *table, i);
    const std::vector<dom::Mutation> taken = document->TakeMutations();
    mutations = taken.size();
    benchmark::DoNotOptimize(taken.data());
  }
  state.counters["mutations"] = static_cast<double>(mutations);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
}
BENCHMARK(BM_BuildDriverRows)->ArgName("recording")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// ---- Interaction --------------------------------------------------------------------------------

// Typing an identity number into a box with a keypress handler and the identity-card filter.
void BM_TypeIdentityNumber(benchmark::State& state) {
  const auto document = Document::Parse("<BODY><INPUT id=txtNRIC maxlength=14></BODY>");
  const std::shared_ptr<Element> box = document->GetElementById("txtNRIC");
  box->AddBehavior("Behaviors/NRIC.htc");
  int keys = 0;
  document->Bind("txtNRIC", "onkeypress", [&keys] { ++keys; });
  constexpr std::string_view kTyped = "800101-14-5566";
  for (auto _ : state) {
    box->SetValue("");
    dom::TypeText(*box, kTyped);
  }
  benchmark::DoNotOptimize(keys);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kTyped.size()));
}
BENCHMARK(BM_TypeIdentityNumber)->Unit(benchmark::kMicrosecond);

// A person clicking controls of two rows in turn: focus moves, the row's click script runs and
// the command element's handler reads the command.
void BM_RowClickThroughCommandChannel(benchmark::State& state) {
  const auto document = Document::Parse(kVehicleTab);
  const std::shared_ptr<Element> table = BuildBodyTable(*document);
  for (int i = 0; i < kRows; ++i) AddDriverRow(*document, *table, i);
  const std::shared_ptr<Element> command = document->GetElementById("kvExecuteCommand");
  std::size_t received = 0;
  document->Bind("kvExecuteCommand", "onclick", [&] { received += command->InnerText().size(); });
  const std::shared_ptr<Element> first =
      document->GetElementById("rowDrv0")->GetFromAll("txtRelationship");
  const std::shared_ptr<Element> last =
      document->GetElementById("rowDrv19")->GetFromAll("txtRelationship");
  bool flip = false;
  for (auto _ : state) {
    dom::UserClick(flip ? *first : *last);
    flip = !flip;
  }
  benchmark::DoNotOptimize(received);
}
BENCHMARK(BM_RowClickThroughCommandChannel)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace cn::bench

BENCHMARK_MAIN();
