#include "import/c_converter.h"
#include "chart/fc_list.h"
#include "import/c_leaf_text.h"
#include "parser/parse_tree.h"
#include <vector>

namespace tvx {

namespace {

// Symbol codes of the C grammar.
enum TCCode : int {
    ccNone = 0,
    ccFuncDecl,
    ccFuncID,
    ccType,
    ccParams,
    ccParam,
    ccBlock,
    ccStmList,
    ccNormalStm,
    ccExpr,
    ccOpAssign,
    ccRefId,
    ccIf,
    ccElse,
    ccWhile,
    ccDo,
    ccFor,
    ccSemicolon,
    ccCloseParen,
    ccOpaque,
};

// Each symbol the converter knows, with what ConvertChild does when it meets
// one: acts on it (functions, statements, assignments), never looks into it
// (declarations and expressions) or walks it.
struct TNamedCode {
    const char* Name;
    TCCode Code;
    TSymbolWatch Watch;
};

constexpr TNamedCode CNames[] = {
    {"Func Decl", ccFuncDecl, swWatch},
    {"Func ID", ccFuncID, swPass},
    {"Type", ccType, swPass},
    {"Params", ccParams, swPass},
    {"Param", ccParam, swPass},
    {"Block", ccBlock, swWatch},
    {"Stm List", ccStmList, swPass},
    {"Normal Stm", ccNormalStm, swPass},
    {"Expr", ccExpr, swStop},
    {"Op Assign", ccOpAssign, swWatch},
    {"RefId", ccRefId, swWatch},
    {"if", ccIf, swWatch},
    {"else", ccElse, swPass},
    {"while", ccWhile, swWatch},
    {"do", ccDo, swWatch},
    {"for", ccFor, swWatch},
    {";", ccSemicolon, swPass},
    {")", ccCloseParen, swPass},
    // Declarations and the expressions of switch and case (an Expr too) never
    // hold a statement or a function: looking through them would find nothing.
    {"Global Decl", ccOpaque, swStop},
    {"Local Decl", ccOpaque, swStop},
    {"Const Expr", ccOpaque, swStop},
};

// Positions of the loop bodies and the for clauses among their statement's
// children: while ( Expr ) body; do body while ( Expr ) ;
// for ( init ; cond ; step ) body.
constexpr int WhileBody = 4;
constexpr int DoBody = 1;
constexpr int ForInit = 2;
constexpr int ForCondition = 4;
constexpr int ForStep = 6;
constexpr int ForBody = 8;

bool IsStatementKeyword(int Code) {
    return Code == ccIf || Code == ccWhile || Code == ccDo || Code == ccFor;
}

QString TokenText(const TToken* Token) {
    return Token != nullptr ? QString::fromUtf8(Token->Text.data(), qsizetype(Token->Text.size()))
                            : QString();
}

// Left and Right with one blank between them; an empty one is left out.
QString Joined(const QString& Left, const QString& Right) {
    if (Left.isEmpty()) {
        return Right;
    }
    return Right.isEmpty() ? Left : Left + QLatin1Char(' ') + Right;
}

} // namespace

TCConverter::TCConverter(TChartSink& Sink, const TSymbolTable& Symbols, const TLeafList& Leaves)
    : TTreeConverter(Sink, Symbols, Leaves) {
    for (const TNamedCode& named : CNames) {
        MapSymbol(named.Name, named.Code, named.Watch);
    }
}

void TCConverter::ConvertChild(const TCall& Call, const TToken* Child) {
    const TSymbolKind kind = Child->GetKind();
    if (kind != skNonterminal && kind != skTerminal) {
        return;
    }
    const int code = CodeOf(Child);
    // A function makes a chart of its own wherever it stands.
    if (code == ccFuncDecl) {
        ConvertFunction(NodeOf(Child));
        return;
    }
    if (code == ccOpaque || code == ccExpr) {
        return;
    }
    if (Call.Chart == nullptr) {
        ScheduleWalk(Child, nullptr);
        return;
    }
    // The keyword of if, while, do and for is the first child of its
    // statement and stands for the whole statement: the other children
    // belong to the block it makes.
    const TToken* first = Call.Node->GetToken(0);
    if (IsStatementKeyword(CodeOf(first))) {
        if (Child == first) {
            ConvertStatement(Call, Call.Node);
        }
        return;
    }
    switch (code) {
    case ccBlock:
        ScheduleWalk(FindChild(NodeOf(Child), ccStmList), Call.Chart);
        return;
    case ccOpAssign: {
        // An assignment keeps its operator between blanks; anything else is
        // the text of its expression.
        const TReduction* node = NodeOf(Child);
        if (node == nullptr || node->GetTokenCount() == 0) {
            return; // nothing to show
        }
        const QString text = node->GetTokenCount() == 3
                                 ? CLeafText(node->GetToken(0), Leaves) + QLatin1Char(' ') +
                                       QString::fromStdString(node->GetToken(1)->GetName()) +
                                       QLatin1Char(' ') + CLeafText(node->GetToken(2), Leaves)
                                 : CLeafText(node->GetToken(0), Leaves);
        AddSimpleBlock(Call, bkProcess, text);
        return;
    }
    case ccRefId:
        AddSimpleBlock(Call, bkProcess, CLeafText(Child, Leaves));
        return;
    default:
        ScheduleWalk(Child, Call.Chart);
        return;
    }
}

void TCConverter::ConvertStatement(const TCall& Call, const TReduction* Node) {
    const int keyword = CodeOf(Node->GetToken(0));
    if (keyword != ccFor && FindChild(Node, ccExpr) == nullptr) {
        return; // a statement without its condition is left out
    }
    switch (keyword) {
    case ccIf:
        ConvertIf(Call, Node);
        return;
    case ccWhile:
        ConvertLoop(Call, Node, bkWhile, CLeafText(FindChild(Node, ccExpr), Leaves), WhileBody);
        return;
    case ccDo:
        ConvertLoop(Call, Node, bkRepeat, CLeafText(FindChild(Node, ccExpr), Leaves), DoBody);
        return;
    case ccFor:
        ConvertFor(Call, Node);
        return;
    default:
        return;
    }
}

void TCConverter::ConvertFunction(const TReduction* Node) {
    // A definition without its name or its body makes no chart.
    const TReduction* id = NodeOf(FindChild(Node, ccFuncID));
    const TToken* name = FunctionName(id);
    const TReduction* block = NodeOf(FindChild(Node, ccBlock));
    if (name == nullptr || block == nullptr) {
        return;
    }
    const QString signature = Signature(Node, id, name);
    TFCList* chart = NewChart(signature, signature);
    ScheduleWalk(FindChild(block, ccStmList), chart);
}

const TToken* TCConverter::FunctionName(const TReduction* Id) const {
    // The name follows the return type; a function whose type is left out
    // ends with its name.
    if (Id == nullptr || Id->GetTokenCount() == 0) {
        return nullptr;
    }
    const TToken* name =
        FindChild(Id, ccType) != nullptr ? FindChildAfter(Id, ccType) : Id->Tokens().back();
    return name != nullptr && NodeOf(name) == nullptr ? name : nullptr;
}

QString TCConverter::Signature(const TReduction* Function, const TReduction* Id,
                               const TToken* Name) const {
    // The words before the name (the return type, "static int"), a blank,
    // the name, the parameter list: "int add(int a, int b)".
    QString head;
    for (const TToken* token : Id->Tokens()) {
        if (token == Name) {
            break;
        }
        head = Joined(head, CLeafText(token, Leaves));
    }
    head = Joined(head, TokenText(Name));
    return head + QLatin1Char('(') + ParameterList(Function) + QLatin1Char(')');
}

QString TCConverter::ParameterList(const TReduction* Function) const {
    // Each <Params> node holds the parameters before its own: collect from the
    // outside in, then take them from the top of the stack, first one first.
    std::vector<const TReduction*> stack;
    for (const TReduction* params = NodeOf(FindChild(Function, ccParams)); params != nullptr;
         params = NodeOf(FindChild(params, ccParams))) {
        if (params->GetTokenCount() > 0) {
            stack.push_back(NodeOf(FindChild(params, ccParam)));
        }
    }
    QString list;
    while (!stack.empty()) {
        const TReduction* param = stack.back();
        stack.pop_back();
        if (param == nullptr) {
            continue;
        }
        if (!list.isEmpty()) {
            list += QStringLiteral(", ");
        }
        list += ParameterText(param);
    }
    return list;
}

QString TCConverter::ParameterText(const TReduction* Param) const {
    // "const char* s", "int v[]", "void", "..."; the stars of the first
    // declarator belong to the type in this grammar.
    const TToken* type = FindChild(Param, ccType);
    if (type == nullptr) {
        return CLeafText(Param, Leaves);
    }
    std::size_t after = 0;
    while (after < Param->Tokens().size() && Param->Tokens()[after] != type) {
        ++after;
    }
    return Joined(CLeafText(type, Leaves), CLeafText(Param, Leaves, after + 1));
}

void TCConverter::ConvertIf(const TCall& Call, const TReduction* Node) {
    TFlowBlock* block = AddBlock(Call, bkIfElse, CLeafText(FindChild(Node, ccExpr), Leaves));
    // The statement after the condition is the yes branch, whether or not an
    // else follows it.
    ScheduleBranch(block, 0, FindChildAfter(Node, ccCloseParen), Call.Chart);
    ScheduleBranch(block, 1, FindChildAfter(Node, ccElse), Call.Chart);
}

void TCConverter::ConvertLoop(const TCall& Call, const TReduction* Node, TBlockKind Kind,
                              const QString& Text, int BodyIndex) {
    const TToken* body = Node->GetToken(BodyIndex);
    if (body == nullptr) {
        return;
    }
    TFlowBlock* block = AddBlock(Call, Kind, Text);
    if (block == nullptr) {
        return;
    }
    if (IsEmptyStatement(body)) {
        // A lone ';' as the body: one empty process block inside the loop,
        // which stays the current block.
        TCall inside = Call;
        inside.Branch = 0;
        AddBlock(inside, bkProcess, QString());
        Current = block;
        State.BranchIndex = -1;
        return;
    }
    ScheduleBranch(block, 0, body, Call.Chart);
}

void TCConverter::ConvertFor(const TCall& Call, const TReduction* Node) {
    if (Node->GetTokenCount() <= ForBody) {
        return;
    }
    const QString separator = QStringLiteral("; ");
    const QString text = QLatin1Char('(') + CLeafText(Node->GetToken(ForInit), Leaves) + separator +
                         CLeafText(Node->GetToken(ForCondition), Leaves) + separator +
                         CLeafText(Node->GetToken(ForStep), Leaves) + QLatin1Char(')');
    ConvertLoop(Call, Node, bkFor, text, ForBody);
}

bool TCConverter::IsEmptyStatement(const TToken* Body) const {
    const TReduction* normal = NodeOf(FindChild(NodeOf(Body), ccNormalStm));
    return normal != nullptr && CodeOf(normal->GetToken(0)) == ccSemicolon;
}

} // namespace tvx
