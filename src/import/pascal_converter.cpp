#include "import/pascal_converter.h"
#include "chart/fc_list.h"
#include "parser/parse_tree.h"

namespace tvx {

namespace {

// Symbol codes of the Pascal grammar.
enum TPascalCode : int {
    pcNone = 0,
    pcProgram,
    pcProgHeader,
    pcUnit,
    pcUnitHeader,
    pcRefId,
    pcBlock,
    pcOptDeclSection,
    pcCompoundStmt,
    pcStmtList,
    pcImplementationSection,
    pcInitSection,
    pcFinalSection,
    pcProcedureDecl,
    pcProcHeading,
    pcFunctionDecl,
    pcFuncHeading,
    pcCallBody,
    pcIfStatement,
    pcWhileStatement,
    pcRepeatStatement,
    pcForStatement,
    pcExpr,
    pcDir,
    pcAssignmentStmt,
    pcCallStmt,
    pcIf,
    pcThen,
    pcElse,
    pcWhile,
    pcDo,
    pcRepeat,
    pcUntil,
    pcFor,
    pcWriteln,
    pcWrite,
    pcReadln,
    pcRead,
};

// Each symbol the converter knows, with what ConvertChild does when it meets
// one: acts on it (statements and routines) or walks it.
struct TNamedCode {
    const char* Name;
    TPascalCode Code;
    TSymbolWatch Watch;
};

constexpr TNamedCode PascalNames[] = {
    {"Program", pcProgram, swWatch},
    {"ProgHeader", pcProgHeader, swWatch},
    {"Unit", pcUnit, swWatch},
    {"UnitHeader", pcUnitHeader, swPass},
    {"RefId", pcRefId, swWatch},
    {"Block", pcBlock, swPass},
    {"OptDeclSection", pcOptDeclSection, swPass},
    {"CompoundStmt", pcCompoundStmt, swWatch},
    {"StmtList", pcStmtList, swPass},
    {"ImplementationSection", pcImplementationSection, swPass},
    {"InitSection", pcInitSection, swPass},
    {"FinalSection", pcFinalSection, swPass},
    {"ProcedureDecl", pcProcedureDecl, swWatch},
    {"ProcHeading", pcProcHeading, swPass},
    {"FunctionDecl", pcFunctionDecl, swWatch},
    {"FuncHeading", pcFuncHeading, swPass},
    {"CallBody", pcCallBody, swPass},
    {"IfStatement", pcIfStatement, swWatch},
    {"WhileStatement", pcWhileStatement, swWatch},
    {"RepeatStatement", pcRepeatStatement, swWatch},
    {"ForStatement", pcForStatement, swWatch},
    {"Expr", pcExpr, swPass},
    {"Dir", pcDir, swPass},
    {"AssignmentStmt", pcAssignmentStmt, swWatch},
    {"CallStmt", pcCallStmt, swWatch},
    {"IF", pcIf, swPass},
    {"THEN", pcThen, swPass},
    {"ELSE", pcElse, swPass},
    {"WHILE", pcWhile, swPass},
    {"DO", pcDo, swPass},
    {"REPEAT", pcRepeat, swPass},
    {"UNTIL", pcUntil, swPass},
    {"FOR", pcFor, swPass},
    {"WRITELN", pcWriteln, swPass},
    {"WRITE", pcWrite, swPass},
    {"READLN", pcReadln, swPass},
    {"READ", pcRead, swPass},
};

} // namespace

TPascalConverter::TPascalConverter(TChartSink& Sink, const TSymbolTable& Symbols,
                                   const TLeafList& Leaves)
    : TTreeConverter(Sink, Symbols, Leaves) {
    for (const TNamedCode& named : PascalNames) {
        MapSymbol(named.Name, named.Code, named.Watch);
    }
}

void TPascalConverter::ConvertChild(const TCall& Call, const TToken* Child) {
    if (Child->GetKind() != skNonterminal || Child == Consumed) {
        return;
    }
    const TReduction* node = NodeOf(Child);
    if (node == nullptr) {
        return;
    }
    const int code = CodeOf(Child);
    // Routines make charts of their own, whether or not a chart is being
    // filled.
    switch (code) {
    case pcProgram:
        ConvertProgram(NodeOf(FindChild(node, pcProgHeader)), FindChild(node, pcBlock));
        return;
    case pcProgHeader: {
        // A tree whose root is the program itself: the header's parent holds
        // the block, which must not be walked again afterwards.
        const TToken* block = FindChild(Call.Node, pcBlock);
        Consumed = block;
        ConvertProgram(node, block);
        return;
    }
    case pcUnit:
        ConvertUnit(node);
        return;
    case pcProcedureDecl:
        ConvertRoutine(node, pcProcHeading);
        return;
    case pcFunctionDecl:
        ConvertRoutine(node, pcFuncHeading);
        return;
    default:
        break;
    }
    if (Call.Chart == nullptr) {
        if (CodeOf(&Call.Node->Head) == pcFinalSection && code == pcStmtList) {
            ConvertFinalization(Child);
            return;
        }
        ScheduleWalk(Child, nullptr);
        return;
    }
    switch (code) {
    case pcIfStatement:
        ConvertIf(Call, node);
        return;
    case pcWhileStatement:
        ConvertLoop(Call, node, bkWhile, pcWhile, pcDo);
        return;
    case pcRepeatStatement:
        ConvertLoop(Call, node, bkRepeat, pcUntil, pcRepeat);
        return;
    case pcForStatement:
        ConvertFor(Call, node);
        return;
    case pcCompoundStmt:
        ScheduleWalk(FindChild(node, pcStmtList), Call.Chart);
        return;
    case pcAssignmentStmt:
    case pcRefId:
        AddSimpleBlock(Call, bkProcess, GetLeafText(node, Leaves));
        return;
    case pcCallStmt:
        ConvertCall(Call, node);
        return;
    default:
        ScheduleWalk(Child, Call.Chart);
        return;
    }
}

QString TPascalConverter::RoutineName(const TReduction* Header) const {
    return GetLeafText(NodeOf(FindChild(Header, pcRefId)), Leaves);
}

void TPascalConverter::ConvertProgram(const TReduction* Header, const TToken* Block) {
    const TReduction* block = NodeOf(Block);
    if (block == nullptr) {
        return;
    }
    // A program without a heading is still a program; its chart has no name.
    const QString name = RoutineName(Header);
    TFCList* chart = NewChart(QStringLiteral("program ") + name, name);
    ScheduleUnder(Current, FindChild(block, pcOptDeclSection), nullptr);
    ScheduleWalk(FindChild(block, pcCompoundStmt), chart);
}

void TPascalConverter::ConvertUnit(const TReduction* Node) {
    const TToken* nameToken = FindChild(NodeOf(FindChild(Node, pcUnitHeader)), pcRefId);
    if (nameToken == nullptr) {
        return;
    }
    const QString name = GetLeafText(nameToken, Leaves);
    TFCList* chart = NewChart(QStringLiteral("Unit ") + name, name);
    UnitName = name;
    const TReduction* implementation = NodeOf(FindChild(Node, pcImplementationSection));
    ScheduleUnder(Current, FindChild(implementation, pcOptDeclSection), nullptr);
    ScheduleWalk(FindChild(Node, pcInitSection), chart);
    // The finalization gets its chart when this walk reaches it, after the
    // charts of the routines, as it stands after them in the source.
    ScheduleUnder(Current, FindChild(Node, pcFinalSection), nullptr);
}

void TPascalConverter::ConvertFinalization(const TToken* Statements) {
    TFCList* chart = NewChart(QStringLiteral("Unit ") + UnitName + QStringLiteral(" finalization"),
                              QStringLiteral("finalization"));
    ScheduleWalk(Statements, chart);
}

void TPascalConverter::ConvertRoutine(const TReduction* Node, int HeadingCode) {
    // Routines nested in this one get charts of their own, after this one's:
    // their statements belong to no other chart. A routine without a name or
    // a body makes no chart.
    const TToken* name = FindChild(NodeOf(FindChild(Node, HeadingCode)), pcRefId);
    const TReduction* body = NodeOf(FindChild(Node, pcCallBody));
    const TReduction* compound = NodeOf(FindChild(body, pcCompoundStmt));
    if (name == nullptr || compound == nullptr) {
        return;
    }
    const QString text = GetLeafText(name, Leaves);
    TFCList* chart = NewChart(text, text);
    ScheduleUnder(Current, FindChild(body, pcOptDeclSection), nullptr);
    ScheduleWalk(FindChild(compound, pcStmtList), chart);
}

void TPascalConverter::ConvertIf(const TCall& Call, const TReduction* Node) {
    const TToken* condition = FindChildAfter(Node, pcIf);
    if (condition == nullptr) {
        return;
    }
    TFlowBlock* block = AddBlock(Call, bkIfElse, GetLeafText(condition, Leaves));
    ScheduleBranch(block, 0, FindChildAfter(Node, pcThen), Call.Chart);
    ScheduleBranch(block, 1, FindChildAfter(Node, pcElse), Call.Chart);
}

void TPascalConverter::ConvertLoop(const TCall& Call, const TReduction* Node, TBlockKind Kind,
                                   int ConditionAfter, int BodyAfter) {
    const TToken* condition = FindChildAfter(Node, ConditionAfter);
    if (condition == nullptr) {
        return;
    }
    TFlowBlock* block = AddBlock(Call, Kind, GetLeafText(condition, Leaves));
    ScheduleBranch(block, 0, FindChildAfter(Node, BodyAfter), Call.Chart);
}

void TPascalConverter::ConvertFor(const TCall& Call, const TReduction* Node) {
    const TToken* variable = FindChildAfter(Node, pcFor);
    const TToken* first = FindChild(Node, pcExpr);
    const TToken* direction = FindChild(Node, pcDir);
    const TToken* last = FindChildAfter(Node, pcDir);
    if (variable == nullptr || first == nullptr || direction == nullptr || last == nullptr) {
        return;
    }
    const QString blank = QStringLiteral(" ");
    const QString text = GetLeafText(variable, Leaves) + QStringLiteral(" := ") +
                         GetLeafText(first, Leaves) + blank + GetLeafText(direction, Leaves) +
                         blank + GetLeafText(last, Leaves);
    TFlowBlock* block = AddBlock(Call, bkFor, text);
    ScheduleBranch(block, 0, FindChildAfter(Node, pcDo), Call.Chart);
}

void TPascalConverter::ConvertCall(const TCall& Call, const TReduction* Node) {
    if (Node->GetTokenCount() == 0) {
        return;
    }
    QString text = GetLeafText(Node, Leaves);
    TBlockKind kind = bkCall;
    const TToken* first = Node->GetToken(0);
    switch (CodeOf(first)) {
    case pcWriteln:
    case pcWrite:
        kind = bkOutput;
        break;
    case pcReadln:
    case pcRead:
        kind = bkInput;
        break;
    default:
        break;
    }
    if (kind != bkCall) {
        // The export puts the word and the parentheses back ("writeln(" +
        // text + ")"), so the block keeps only what stands between them.
        text.remove(0, QString::fromUtf8(first->Text.data(), qsizetype(first->Text.size())).size());
        if (text.startsWith(QLatin1Char('(')) && text.endsWith(QLatin1Char(')'))) {
            text = text.mid(1, text.size() - 2);
        }
    }
    AddSimpleBlock(Call, kind, text);
}

} // namespace tvx
