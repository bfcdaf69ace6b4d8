#ifndef DORVEX_EXITQUESTION_H
#define DORVEX_EXITQUESTION_H

class QIcon;
class QWidget;

// "Dou you want to exit?", with No as the answer to Enter and Escape; true
// when the user answered Yes.
bool askToExit(QWidget *parent, const QIcon &icon);

#endif
