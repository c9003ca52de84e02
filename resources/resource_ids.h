/* Ids shared by the resource script and the code. */
#ifndef TESSARY_RESOURCE_IDS_H
#define TESSARY_RESOURCE_IDS_H

#define IDD_MESSAGE 501      /* the standard modal dialog */
#define IDD_DUAL_LIST 503    /* the dual-list dialog */
#define IDD_PROGRESS 513     /* the modeless progress window */
#define IDD_TAB_PAGE 10110   /* a page of a tab control */
#define IDC_TAB_PAGE_STATIC 1020

#endif
