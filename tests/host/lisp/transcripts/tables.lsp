; Symbol table records as TBLSEARCH and TBLNEXT give them, one line a table, in tables.dxf; a block's first
; entity shown by its type.
(defun shown (l / first) (if (setq first (assoc -2 l)) (subst (cons -2 (cdr (assoc 0 (entget (cdr first))))) first l) l))
(list (shown (tblsearch "BLOCK" "borne")) (tblsearch "block" "PLAN") (tblsearch "BLOCK" "VIDE") (tblsearch "BLOCK" "*Model_Space"))
(progn (setq names nil) (while (setq b (tblnext "BLOCK" (null names))) (setq names (cons (cdr (assoc 2 b)) names))) (reverse names))
(list (tblsearch "LAYER" "BORNES") (tblsearch "LAYER" "GELE"))
(tblsearch "LTYPE" "DASHED")
(tblsearch "STYLE" "COTES")
(tblsearch "APPID" "ZORTA")
(tblsearch "VIEW" "NORD")
(tblsearch "UCS" "CHANTIER")
(list (cdr (assoc 2 (setq v (tblnext "VPORT" T)))) (assoc 10 v) (assoc 5 v) (assoc 330 v))
(list (cdr (assoc 2 (setq d (tblsearch "DIMSTYLE" "Standard")))) (assoc 40 d) (assoc 105 d))
(list (cdr (assoc 2 (tblsearch "LAYER" "0" T))) (cdr (assoc 2 (tblnext "LAYER"))) (type (tblobjname "BLOCK" "BORNE")) (tblobjname "BLOCK" "NOSUCH") (cdr (assoc 62 (entget (tblobjname "LAYER" "BORNES")))))
; The drawing's header variables, those the host keeps and those it only reads.
(mapcar 'getvar '("TEXTSIZE" "PDMODE" "ANGDIR" "INSBASE" "ATTMODE" "DIMSCALE"))
