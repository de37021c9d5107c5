#pragma once
// Numbered messages: texts, icons and buttons live in the message file (section "ERR",
// key = five-digit number, English under number + 500); these routines load and show them.
#include <cstdint>
#include <string>

// App_Dir & "\Resource\FicErr.txt"; set at start-up.
extern std::string Msg_File_Path;

// The last message loaded.
extern int16_t Msg_Icon;
extern int16_t Msg_Buttons;
extern std::string Msg_Text;
// Where most callers keep the answer.
extern int16_t Msg_Answer;

// Loads message n (n + 500 in English) into Msg_Icon, Msg_Buttons, Msg_Text; gives the number
// shown and the box title ("Erreur !!", "Information", "Question ?").
void ERREUR_Load_Message(int16_t n, int16_t& shown_number, std::string& title);
// Shows message n and gives the answer (1 OK, 2 Cancel, 6 Yes, 7 No, ...).
int16_t ERREUR_Show_Message(int16_t n);
// Shows message n with a second text on a new line.
void ERREUR_Show_Message_Extra(int16_t n, const std::string& extra);

// Back to the start-up values (tests).
void ERREUR_Reset();
