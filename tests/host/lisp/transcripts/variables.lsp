; The variables routines read, each of the type getvar gives: a new drawing's, then those set and refused.
(mapcar '(lambda (v) (list v (getvar v))) '("TEXTSIZE" "TEXTSTYLE" "LIMMIN" "LIMMAX" "INSBASE" "EXTMIN" "EXTMAX" "ANGBASE" "ANGDIR" "ORTHOMODE" "SNAPMODE" "PDMODE" "PDSIZE" "CECOLOR" "CELTYPE" "CELWEIGHT" "FILEDIA" "CMDACTIVE" "INSNAME" "PRODUCT" "DWGCODEPAGE" "NOSUCH"))
(mapcar '(lambda (v) (type (getvar v))) '("DATE" "CDATE" "PLATFORM"))
; The clock's two readings agree: the year since 2024 (Julian day 2460311) and the hour of the day.
(progn (setq d (getvar "DATE") c (getvar "CDATE")) (list (= (fix (/ (- d 2460311) 365.25)) (- (fix (/ c 10000)) 2024)) (= (fix (* 24 (- d (fix d)))) (fix (* 100 (- c (fix c)))))))
(list (setvar "CECOLOR" "1") (getvar "CECOLOR") (setvar "CECOLOR" 256) (getvar "CECOLOR") (setvar "CECOLOR" "byblock") (getvar "CECOLOR"))
(list (setvar "ORTHOMODE" 1) (getvar "ORTHOMODE") (setvar "TEXTSIZE" 3.5) (getvar "textsize") (setvar "PDMODE" 3) (getvar "PDMODE"))
(mapcar '(lambda (a) (vl-catch-all-error-p (vl-catch-all-apply 'setvar a))) '(("CECOLOR" "bybloc") ("CECOLOR" "256") ("ANGDIR" 2) ("SNAPMODE" -1) ("PRODUCT" "X")))
